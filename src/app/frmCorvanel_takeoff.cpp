#include "app/frmCorvanel.h"

// Connects the roof take-off tab to its handlers.
void frmCorvanel::wireTakeoff() {}
