#pragma once
// The clipboard: format numbers (the predefined ones the program names and
// the registration of named formats) and the data calls of the program's
// private formats. Data lives on the window system's clipboard when the
// program runs a window-system session (a registered format travels under
// its own MIME type), else on a clipboard inside the process.
#include "platform/rtl/Types.h"
#include "platform/win/GlobalMemory.h"
#include "platform/win/Messages.h"

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_BITMAP = 2;
constexpr UINT CF_UNICODETEXT = 13;

// The process-wide number for a format name, in 0xC000..0xFFFF: the same name
// (compared without regard to case) always gives the same number. An empty
// name, a name longer than 255 characters or an exhausted range answers 0.
UINT RegisterClipboardFormat(StringView lpszFormat);

// Opens the clipboard for the calling thread; FALSE (ERROR_ACCESS_DENIED)
// while another thread holds it open. Opening it again on the same thread succeeds.
BOOL OpenClipboard(HWND hWndNewOwner);
// Closes it; the handles GetClipboardData gave are freed. FALSE
// (ERROR_CLIPBOARD_NOT_OPEN) when this thread had not opened it.
BOOL CloseClipboard();
// Removes everything from the clipboard; FALSE (ERROR_CLIPBOARD_NOT_OPEN) when not open.
BOOL EmptyClipboard();
// Puts the block's bytes on the clipboard under a registered format; the
// clipboard takes the block over (it is freed). nullptr when the clipboard
// is not open (ERROR_CLIPBOARD_NOT_OPEN), or for an unregistered or
// predefined format or a bad block (ERROR_INVALID_PARAMETER); the block then
// stays the caller's.
HGLOBAL SetClipboardData(UINT uFormat, HGLOBAL hMem);
// A block holding the clipboard's bytes in a registered format, owned by the
// clipboard until it is closed; nullptr when not open or no such data.
HGLOBAL GetClipboardData(UINT uFormat);
// The clipboard holds data in the format (it need not be open).
BOOL IsClipboardFormatAvailable(UINT format);
