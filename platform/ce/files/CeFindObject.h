// Base of every find search (files, devices): FindClose ends any of them.
#pragma once

#include "core/CeInside.h"

#include "ce/CeHandleTable.h"

class CeFindObject : public CeObject {};
