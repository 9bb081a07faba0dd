#include <windows.h>

#include "platform/modal.h"
#include "platform/text_win.h"

bool ShowSystemModal(const ModalBox& box)
{
    UINT flags = MB_SETFOREGROUND | MB_TASKMODAL;
    switch (box.Kind) {
    case ModalKind::Information: flags |= MB_OK | MB_ICONINFORMATION; break;
    case ModalKind::Exclamation: flags |= MB_OK | MB_ICONEXCLAMATION; break;
    case ModalKind::Error: flags |= MB_OK | MB_ICONERROR; break;
    case ModalKind::YesNo: flags |= MB_YESNO | MB_ICONERROR | MB_DEFBUTTON2; break;
    }
    int answer = MessageBoxW(nullptr, ProgramText(box.Text).c_str(), ProgramText(box.Caption).c_str(), flags);
    return answer == IDOK || answer == IDYES;
}
