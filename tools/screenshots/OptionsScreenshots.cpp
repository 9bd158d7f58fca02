// Renders the two pages of the options sheet offscreen into PNG files for
// the README: options_screenshots <folder> [--dark].
#include "ScreenshotPalette.h"
#include "options/CFontPropertyPage.h"
#include "options/CMODPropertySheet.h"
#include "options/FontNameCombo.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTest>

#include <cstdio>

namespace {

bool Save(QWidget& window, const QString& path)
{
    QTest::qWait(50);
    const bool saved = window.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "failed to write", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    UseDarkPaletteWhenAsked(application.arguments());
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    CMODPropertySheet sheet;
    const QString remaster = QStringLiteral("/home/modder/.wine/drive_c/Program Files (x86)/Diablo II Resurrected/");
    sheet.SetValues({QStringLiteral("/home/modder/Carvestone/MODs/"),
                     QStringLiteral("/home/modder/.wine/drive_c/Diablo II/Patch_D2.mpq"), true, true,
                     QStringLiteral("Arial"), 9, false, false, QStringLiteral("/home/modder/D2R extracted"), remaster,
                     remaster, true, BuildTarget::RemasterModFolder});
    sheet.show();
    if (!QTest::qWaitForWindowExposed(&sheet))
        return 1;
    bool saved = Save(sheet, folder + QStringLiteral("/options-paths.png"));
    sheet.Tabs()->setCurrentWidget(sheet.FontPage());
    saved = Save(sheet, folder + QStringLiteral("/options-font.png")) && saved;
    FontNameCombo* faces = sheet.FontPage()->FaceCombo();
    faces->showPopup();
    saved = Save(*faces->view()->window(), folder + QStringLiteral("/options-font-list.png")) && saved;
    return saved ? 0 : 1;
}
