// Everything a Windows-side test of Vantisk needs to drive the real program
// under Wine: include this one header.
#pragma once

#include "harness/browser.h"
#include "harness/clipboard.h"
#include "toolkit/handles.h"
#include "harness/input.h"
#include "harness/message_box.h"
#include "harness/paths.h"
#include "harness/popup_menu.h"
#include "harness/process.h"
#include "harness/registry.h"
#include "harness/text.h"
#include "harness/wait.h"
#include "harness/window.h"
