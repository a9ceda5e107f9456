// Resource identifiers of tavrex.dll and its tavrex.rc.
#pragma once

#define IDI_TAVREX_MENU 1
