#include "installer/texts.h"

// Each Chinese text is written as its code page 936 bytes, with the text
// itself in the comment.
const char ProductName[] = "Vorlandix";
const char DefaultInstallDir[] = "C:\\Vorlandix\\";
const char ExeSuffix[] = "\\Vorlandix.exe";
const char BrowsePrompt[] = "\xd1\xa1\xd4\xf1\xb0\xb2\xd7\xb0\xb3\xcc\xd0\xf2\xce\xc4\xbc\xfe\xbc\xd0";  // 选择安装程序文件夹
const char ExitPrompt[] = "\xc4\xfa\xc8\xb7\xb6\xa8\xd2\xaa\xcd\xcb\xb3\xf6\"Vorlandix\"\xb0\xb2\xd7\xb0\xb3\xcc\xd0\xf2\xa3\xbf";  // 您确定要退出"Vorlandix"安装程序？
const char InstallerTitle[] = "Vorlandix\xb0\xb2\xd7\xb0\xb3\xcc\xd0\xf2";  // Vorlandix安装程序
const char DoneText[] = "\xb0\xb2\xd7\xb0\xcd\xea\xb3\xc9\xa1\xcc";  // 安装完成√
const char EmptyText[] = "";
