// Resource ids, shared by the resource script and the code.
#pragma once

#define IDI_PROGRAM 1
#define IDI_ABOUT 2
