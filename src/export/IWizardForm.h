#pragma once

#include <string>

namespace addrix {

// The wizard controls that the export reads by name; the wizard window
// implements it. Read once, when an export starts.
class IWizardForm {
public:
    virtual ~IWizardForm() = default;

    virtual std::string txtDir() const = 0;
    virtual std::string txtFileName() const = 0;
    virtual std::string txtIvroFile() const = 0;

    // Serial-port list: selected position (-1 = none), entry count, and the
    // port number stored with the entry at `index`.
    virtual int lstGalderCommPortIndex() const = 0;
    virtual int lstGalderCommPortCount() const = 0;
    virtual int lstGalderCommPortItemData(int index) const = 0;

    // E-mail column list: 0 "Work Email", 1 "Home Email", 2 "Alternate Email".
    virtual int lstGalderEmailIndex() const = 0;
};

} // namespace addrix
