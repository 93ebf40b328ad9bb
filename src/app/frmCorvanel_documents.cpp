#include "app/frmCorvanel.h"

// Connects the documents of the Output tab and the blank forms to its handlers.
void frmCorvanel::wireDocuments() {}
