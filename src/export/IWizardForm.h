#pragma once

#include <string>
#include <vector>

namespace addrix {

// The seven wizard controls that the export, the sources and the settings
// read and write by name. The wizard window implements it; so does the
// command line, with plain values.
class IWizardForm {
public:
    virtual ~IWizardForm() = default;

    virtual std::string txtDir() const = 0;
    virtual void setTxtDir(const std::string& text) = 0;
    virtual std::string txtFileName() const = 0;
    virtual void setTxtFileName(const std::string& text) = 0;
    virtual std::string txtIvroFile() const = 0;
    virtual void setTxtIvroFile(const std::string& text) = 0;

    // Serial-port list: selected position (-1 = none), entry count, and the
    // port number stored with the entry at `index`.
    virtual int lstGalderCommPortIndex() const = 0;
    virtual void setLstGalderCommPortIndex(int index) = 0;
    virtual int lstGalderCommPortCount() const = 0;
    virtual int lstGalderCommPortItemData(int index) const = 0;

    // E-mail column list: "Work Email", "Home Email", "Alternate Email".
    virtual int lstGalderEmailIndex() const = 0;
    virtual void setLstGalderEmailIndex(int index) = 0;
    virtual int lstGalderEmailCount() const = 0;

    // Launch check box: 0 unchecked, 1 checked.
    virtual int chkAutoDataPlug() const = 0;
    virtual void setChkAutoDataPlug(int state) = 0;

    virtual void setLblMaxRecords(const std::string& caption) = 0;
};

// The controls as plain values: the command line's form, and the tests'.
class FormValues final : public IWizardForm {
public:
    std::string dir;
    std::string fileName;
    std::string ivroFile;
    int portIndex = -1;
    std::vector<int> ports; // item data of each port entry
    int emailIndex = -1;
    int emailCount = 3;
    int autoDataPlug = 0;
    std::string maxRecordsCaption;

    std::string txtDir() const override { return dir; }
    void setTxtDir(const std::string& text) override { dir = text; }
    std::string txtFileName() const override { return fileName; }
    void setTxtFileName(const std::string& text) override { fileName = text; }
    std::string txtIvroFile() const override { return ivroFile; }
    void setTxtIvroFile(const std::string& text) override { ivroFile = text; }
    int lstGalderCommPortIndex() const override { return portIndex; }
    void setLstGalderCommPortIndex(int index) override { portIndex = index; }
    int lstGalderCommPortCount() const override { return static_cast<int>(ports.size()); }
    int lstGalderCommPortItemData(int index) const override {
        return index >= 0 && index < lstGalderCommPortCount() ? ports[index] : 0;
    }
    int lstGalderEmailIndex() const override { return emailIndex; }
    void setLstGalderEmailIndex(int index) override { emailIndex = index; }
    int lstGalderEmailCount() const override { return emailCount; }
    int chkAutoDataPlug() const override { return autoDataPlug; }
    void setChkAutoDataPlug(int state) override { autoDataPlug = state; }
    void setLblMaxRecords(const std::string& caption) override { maxRecordsCaption = caption; }
};

} // namespace addrix
