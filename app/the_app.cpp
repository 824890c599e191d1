// The one application object of the Windows program, constructed during start-up.
#include "app/driver_setup_app.h"

CDriverSetupApp theApp;
