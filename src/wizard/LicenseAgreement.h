#pragma once

#include <string>

namespace addrix {

// The whole agreement that frmSLA shows: paragraphs joined with CR LF, an
// empty line between them, ending with an empty line.
std::string LicenseAgreementText();

// The size of txtLicense for a window whose outer size is `outerWidth` by
// `outerHeight` twips: 200 twips narrower and 600 twips lower. A dimension that
// would come out negative keeps its `current` value.
struct LicenseBoxSize {
    int width;
    int height;
};
LicenseBoxSize FitLicenseBox(int outerWidth, int outerHeight, LicenseBoxSize current);

} // namespace addrix
