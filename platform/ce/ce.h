// The Windows CE core services the program uses, over POSIX.
#pragma once

#include "ce/CeTypes.h"
#include "ce/CeFile.h"
#include "ce/CeCrt.h"
#include "ce/CeTime.h"
#include "ce/CeWindow.h"
#include "ce/CeSound.h"
#include "ce/CeSync.h"
#include "ce/CeRegistry.h"
#include "ce/CeDevice.h"
