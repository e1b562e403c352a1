#pragma once
// Small helpers that the form and application tests share.
#include <windows.h>

#include <string>

#include "DriverBasics.h"
#include "MessagePump.h"
