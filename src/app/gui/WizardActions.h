#pragma once

namespace addrix {

class frmWelcome;
struct WizardServices;

// Gives the wizard's Browse and Help buttons and its Help menu their actions:
// the file choosers, the help documents, the About and agreement windows.
void ConnectWizardActions(frmWelcome& wizard, WizardServices& services);

} // namespace addrix
