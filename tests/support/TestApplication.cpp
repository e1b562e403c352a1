// The application object, for test executables that use the forms unit.
#include "ApplicationClass.h"
#include "hinstance.h"

ApplicationClass Appl;
ApplicationClass* Application = &Appl;
