// Everything the application uses of the framework.
#pragma once

#include "framework/app.h"
#include "framework/cmd_target.h"
#include "framework/common_dialogs.h"
#include "framework/cstring.h"
#include "framework/dc.h"
#include "framework/dialog.h"
#include "framework/doc_view.h"
#include "framework/frame.h"
#include "framework/resources.h"
#include "framework/types.h"
#include "framework/wnd.h"
