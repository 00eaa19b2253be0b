// The one doorway from the portable core to the operating system, split by
// concern; core files include only the concern headers they use. This index
// gathers them for the two implementations, which each provide all of them.
// Every call is shaped after the Win32 call it stands for; texts cross in UTF-8.
#pragma once

#include "Platform/Basics.h"
#include "Platform/CodePages.h"
#include "Platform/Console.h"
#include "Platform/Files.h"
#include "Platform/LocaleTime.h"
#include "Platform/Registry.h"
#include "Platform/RegistryWrite.h"
#include "Platform/System.h"
#include "Platform/SystemPath.h"
#include "Platform/Volumes.h"
