#include "report/clearing.h"

#include "platform/user_data.h"

const char* const ClearingLockName = "vrn15.lock";

std::string RestartScript(const std::string& archiveName, const std::string& exePath, bool utf8)
{
    const std::string lock = ClearingLockName;
    std::string s;
    auto line = [&s](const std::string& text) { s += text + "\r\n"; };
    line("@echo off");
    if (utf8)
        line("chcp 65001 >nul");  // cmd.exe reads the lines after this one in UTF-8
    line("cd /d \"%~dp0\"");
    // Wait for the old copy to end (at most about 30 s), or the new one would be refused.
    line("set n=0");
    line(":wait");
    line("del \"" + lock + "\" >nul 2>&1");
    line("if not exist \"" + lock + "\" goto restart");
    line("set /a n+=1");
    line("if %n% geq 30 goto restart");
    line("ping -n 2 127.0.0.1 >nul");
    line("goto wait");
    line(":restart");
    line("if exist \"arxiv\\" + archiveName + "\" del history.txt");
    line("echo copy and delete - complete!");
    line("echo start program");
    line("start \"\" \"" + exePath + "\"");
    line("echo restart complete!");
    line("echo Kestrane");
    return s;
}

std::string ClearingMessage(const std::string& archiveName)
{
    return "Операция отчистки истории выполнена успешно. Создан архив данных - " + UserData(archiveName) +
           ". Программа будет перезапущена автоматически";
}
