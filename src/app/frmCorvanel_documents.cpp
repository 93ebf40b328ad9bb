#include "app/frmCorvanel.h"

// Connects the documents of the Output tab and the blank forms to their handlers.
void frmCorvanel::wireDocuments() {}

// Filled in with the documents.
void frmCorvanel::cmdPrint_Click(int) {}
