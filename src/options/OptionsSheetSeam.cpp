#include "OptionsSheetSeam.h"

namespace {

class NoOptionsSheet : public OptionsSheetSeam
{
public:
    bool Edit(QWidget*, OptionsValues&) override { return false; }
};

OptionsSheetSeam* installed = nullptr;

} // namespace

OptionsSheetSeam& OptionsSheetSeam::Current()
{
    static NoOptionsSheet programSheet;
    return installed ? *installed : programSheet;
}

void OptionsSheetSeam::SetCurrent(OptionsSheetSeam* seam)
{
    installed = seam;
}
