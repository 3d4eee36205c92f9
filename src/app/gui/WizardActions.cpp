#include "app/gui/WizardActions.h"

#include "app/gui/frmAbout.h"
#include "app/gui/frmSLA.h"
#include "app/gui/frmWelcome.h"
#include "wizard/FileChoosers.h"

namespace addrix {

void ConnectWizardActions(frmWelcome& wizard, WizardServices& services) {
    frmWelcome* const window = &wizard;
    WizardServices* const s = &services;
    QObject::connect(window, &frmWelcome::cmdBrowseClicked, window, [window, s] {
        if (const auto chosen = cmdBrowseClick(window->txtDir(), window->CommonDialog1(), *s)) {
            window->setTxtFileName(chosen->fileName);
            window->setTxtDir(chosen->dir);
        }
    });
    QObject::connect(window, &frmWelcome::cmdIvroBrowseClicked, window, [window, s] {
        if (const auto chosen =
                cmdIvroBrowseClick(window->txtIvroFile(), window->CommonDialog2(), *s))
            window->setTxtIvroFile(*chosen);
    });

    const auto help = [window, s](HelpDocument document) {
        QObject::connect(window,
                         document == HelpDocument::Galder ? &frmWelcome::galderHelpRequested
                         : document == HelpDocument::Ivro ? &frmWelcome::ivroHelpRequested
                                                          : &frmWelcome::kestleHelpRequested,
                         window,
                         [s, document] { ShowHelpDocument(document, s->shell, s->program); });
    };
    help(HelpDocument::Galder);
    help(HelpDocument::Ivro);
    help(HelpDocument::Kestle);

    QObject::connect(window, &frmWelcome::mnuSLAClicked, window,
                     [window] { ShowLicenseAgreement(window); });
    QObject::connect(window, &frmWelcome::mnuAboutClicked, window,
                     [window] { ShowAboutWindow(window); });
}

} // namespace addrix
