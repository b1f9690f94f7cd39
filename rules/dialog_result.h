// How a modal dialog ended, as every dialog and the rules about it count it.
#pragma once

// The platform headers of Windows define these as macros of the same values.
#ifndef IDOK
inline constexpr int IDOK = 1;
#endif
#ifndef IDCANCEL
inline constexpr int IDCANCEL = 2;
#endif
