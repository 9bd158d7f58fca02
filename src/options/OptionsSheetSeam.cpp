#include "OptionsSheetSeam.h"

#include "CMODPropertySheet.h"
#include "ui/UserDialogs.h"

namespace {

// The program's own sheet, run through the dialog seam so that tests can
// drive the real sheet as a person would.
class PropertySheetOptions : public OptionsSheetSeam
{
public:
    bool Edit(QWidget* owner, OptionsValues& values) override
    {
        CMODPropertySheet sheet(owner);
        sheet.SetValues(values);
        if (UserDialogs::Current().Exec(sheet) != QDialog::Accepted)
            return false;
        values = sheet.Values();
        return true;
    }
};

OptionsSheetSeam* installed = nullptr;

} // namespace

OptionsSheetSeam& OptionsSheetSeam::Current()
{
    static PropertySheetOptions programSheet;
    return installed ? *installed : programSheet;
}

void OptionsSheetSeam::SetCurrent(OptionsSheetSeam* seam)
{
    installed = seam;
}
