// Resources the toolkit reads from the program it is part of. Plain #defines:
// the program's resource script includes this header too.
#pragma once

// A string resource: the program's title (message-box captions, the About
// window). Without it the title is the exe's name.
#define TK_IDS_APP_TITLE 0x7F00
