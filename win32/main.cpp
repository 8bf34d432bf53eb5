// SPDX-License-Identifier: MIT
#include <windows.h>
#include <objbase.h>

#include "engine/dravlet.h"
#include "runtime/clock.h"
#include "runtime/random.h"
#include "win32/win32window.h"

// The program takes no command line.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    // Screen readers reach the controls' accessible objects through COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 0;
    {
        dravlet::Win32Window window(instance);
        dravlet::MersenneRandom random;
        const dravlet::SystemClock clock;
        dravlet::cmdDravlet form(window, window, random, clock);
        window.deliverClicksTo(form);
        status = window.run(show);
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return status;
}
