// COM for the back end's two uses of it (the JPEG encoder of the screenshots and
// ShellExecute), started on a thread the first time that thread needs it rather than when the
// program starts. ole32.dll and what it brings along (combase, rpcrt4) take tens of
// milliseconds to load under Wine, all of it before the tray icon appeared, for something most
// sessions never use; so the program imports no COM library and loads ole32.dll here.
#pragma once

#include <windows.h>

namespace padwire::win32::com {

// Enters a single-threaded apartment on the calling thread unless it is in one already, and
// keeps it until the thread ends (so the libraries of a second shot are still loaded). False
// when COM cannot start on this thread.
bool enter();

// CoCreateInstance of an in-process server; call enter() first.
HRESULT create_instance(REFCLSID server, REFIID interface_id, void** object);

}  // namespace padwire::win32::com
