#include "report/clearing.h"
#include "platform/user_data.h"

#include <gtest/gtest.h>

TEST(RestartScript, WaitsForTheOldCopyDeletesOnlyWithAnArchiveAndStartsByFullPath)
{
    EXPECT_EQ(RestartScript("arxiv_12-9-2026_2_history.txt", "C:\\Tools\\Vornik\\vrn15.exe"),
              "@echo off\r\n"
              "cd /d \"%~dp0\"\r\n"
              "set n=0\r\n"
              ":wait\r\n"
              "del \"vrn15.lock\" >nul 2>&1\r\n"
              "if not exist \"vrn15.lock\" goto restart\r\n"
              "set /a n+=1\r\n"
              "if %n% geq 30 goto restart\r\n"
              "ping -n 2 127.0.0.1 >nul\r\n"
              "goto wait\r\n"
              ":restart\r\n"
              "if exist \"arxiv\\arxiv_12-9-2026_2_history.txt\" del history.txt\r\n"
              "echo copy and delete - complete!\r\n"
              "echo start program\r\n"
              "start \"\" \"C:\\Tools\\Vornik\\vrn15.exe\"\r\n"
              "echo restart complete!\r\n"
              "echo Kestrane\r\n");
    EXPECT_EQ(ClearingMessage("arxiv_06.12.2026_history.txt"),
              "Операция отчистки истории выполнена успешно. Создан архив данных - " +
                  UserData("arxiv_06.12.2026_history.txt") + ". Программа будет перезапущена автоматически");
}
