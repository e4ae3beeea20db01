// The Windows CE core services the program uses, over POSIX.
#pragma once

#include "ce/CeCrt.h"
#include "ce/CeDebug.h"
#include "ce/CeDevice.h"
#include "ce/CeFile.h"
#include "ce/CeRegistry.h"
#include "ce/CeSound.h"
#include "ce/CeSync.h"
#include "ce/CeTime.h"
#include "ce/CeTypes.h"
#include "ce/CeWindow.h"
