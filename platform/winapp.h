// CWinApp: the application base with its start-up hook, and the start-up sequence around it.
#pragma once

#include "platform/cstring.h"
#include "platform/os_api.h"

class CWinApp {
public:
    // Sets the runtime's multibyte code page to the system's ANSI code page, so that every
    // string operation of the derived object, its own members' construction included, is
    // character-wise in that code page, and registers the object as the application.
    CWinApp();

    // The start-up hook, called once. Its answer is not used: a program that creates no
    // window has no message loop to run, so AfxWinMain returns 0 after it whatever it says
    // (a framework with windows would run its loop on true). The launcher answers false.
    virtual bool InitInstance() = 0;

    // Shows text in a message box with an OK button and the warning icon, captioned with the
    // application's name: the program's file name without its extension.
    int DoMessageBox(const char* text, std::uint32_t type, std::uint32_t helpId);

    OsInstance m_hInstance;
    CString m_strExeName;

protected:
    ~CWinApp();
};

// The application object, or null outside its lifetime.
CWinApp* AfxGetApp();

// The framework's main function: records the instance handle and the application's name,
// then runs the start-up hook. Returns the exit status, 0.
int AfxWinMain(OsInstance instance);
