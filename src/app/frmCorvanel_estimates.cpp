#include "app/frmCorvanel.h"

// Connects starting, opening, saving and closing estimates to their handlers.
void frmCorvanel::wireEstimates() {}

// Filled in with the life of an estimate.
void frmCorvanel::mnuEstNew_Click() {}
void frmCorvanel::mnuEstOpen_Click() {}
void frmCorvanel::cmdStartEst_Click() {}
void frmCorvanel::cmdCancel_Click() {}
void frmCorvanel::cmdSave_Click() {}
bool frmCorvanel::SaveEst() { return false; }
void frmCorvanel::closeEstimate() {}
void frmCorvanel::CleanForm() {}
