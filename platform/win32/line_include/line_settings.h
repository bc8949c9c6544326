// The serial line of the suite: 8 data bits, no parity and no parity
// check, one stop bit, no flow control of any kind, DTR and RTS held off,
// at the given rate. The other fields of the port's configuration keep what
// the driver reports. The tool's port and the virtual board's Windows build
// both set their line with it.
#pragma once
#include <windows.h>

namespace win32 {

inline bool ApplyLineSettings(HANDLE port, DWORD baud) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(port, &dcb)) return false;
    dcb.BaudRate = baud;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = FALSE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_DISABLE;
    return SetCommState(port, &dcb) != FALSE;
}

}  // namespace win32
