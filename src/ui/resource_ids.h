// Resource identifiers shared by the program and res/glossira.rc.
#pragma once

#define IDI_GLOSSIRA 1  // the program's icon: the first icon resource
#define IDI_CLIPBOARD 201
#define IDI_SAVE 202
#define IDI_ERASE 203
#define IDI_HELP 204
#define IDI_ARROW 205
