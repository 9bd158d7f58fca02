#include "ArchiveFixtures.h"

#include <QDir>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

const QString Excel = QStringLiteral("data\\global\\excel\\");
const QString Armor = Excel + "armor.txt";
const QString MonStats = Excel + "monstats.txt";
const QString Weapons = Excel + "weapons.txt";

QByteArray GameTable(const QString& name)
{
    return ArchiveFixtures::Read(QStringLiteral(CARVESTONE_GAME_TABLES "/") + name);
}

// A table as its lines and cells, to change the game's tables as a modder's editor would.
struct Lines
{
    explicit Lines(const QByteArray& bytes) : lines(bytes.split('\n')) { lines.removeLast(); }
    QByteArray Bytes() const { return lines.join('\n') + '\n'; }
    int Row(const QByteArray& name, int occurrence = 1) const
    {
        for (int row = 0; row < lines.size(); ++row)
            if (lines[row].startsWith(name + '\t') && --occurrence == 0)
                return row;
        ADD_FAILURE() << name.toStdString();
        return 0;
    }
    int Column(const QByteArray& heading) const { return int(lines[0].chopped(1).split('\t').indexOf(heading)); }
    QByteArray Cell(int row, int col) const { return lines[row].chopped(1).split('\t').value(col); }
    void SetCell(int row, int col, const QByteArray& value)
    {
        QList<QByteArray> cells = lines[row].chopped(1).split('\t');
        cells[col] = value;
        lines[row] = cells.join('\t') + '\r';
    }
    void RemoveColumn(int col)
    {
        for (QByteArray& line : lines) {
            QList<QByteArray> cells = line.chopped(1).split('\t');
            cells.removeAt(col);
            line = cells.join('\t') + '\r';
        }
    }
    QByteArray Renamed(int row, const QByteArray& name) const { return name + lines[row].mid(lines[row].indexOf('\t')); }
    QList<QByteArray> lines;
};

// A MOD made from a game archive of real tables, with carvestone-cli run as a modder runs it.
class ChangesCliTest : public SmpqTest
{
protected:
    void SetUp() override
    {
        SmpqTest::SetUp();
        if (IsSkipped())
            return;
        game = fixtures.MakeGameArchive("game.mpq", {{Armor, GameTable("Armor.txt")},
                                                     {MonStats, GameTable("MonStats.txt")},
                                                     {Weapons, GameTable("Weapons.txt")}});
        ASSERT_FALSE(game.isEmpty());
        ASSERT_EQ(Run({"new", "Mod", "--mods", fixtures.Path("mods")}), 0) << err.toStdString();
        ASSERT_EQ(Run({"add", project, Armor, MonStats, Weapons, "--from", game}), 0) << err.toStdString();
    }

    int Run(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("CARVESTONE_CONFIG_DIR", fixtures.Path("config"));
        environment.insert("WINEPREFIX", fixtures.Path("no-wine"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(CARVESTONE_CLI_PATH), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        out = QString::fromUtf8(process.readAllStandardOutput());
        err = QString::fromUtf8(process.readAllStandardError());
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    QString ModFile(const QString& name) const { return fixtures.Path("mods/Mod/" + name); }
    QByteArray Mod(const QString& name) const { return ArchiveFixtures::Read(ModFile(name)); }
    void Write(const QString& name, const QByteArray& bytes) const { fixtures.Write("mods/Mod/" + name, bytes); }

    const QString project = fixtures.Path("mods/Mod/Mod.mod");
    QString game, out, err;
};

TEST_F(ChangesCliTest, DiffReportsExactlyTheEditedCellsRowsAndColumnsAndNothingForAnUntouchedTable)
{
    for (const QString name : {"Armor.txt", "MonStats.txt", "Weapons.txt"})
        EXPECT_EQ(Mod(".carvestone/originals/" + name.toLower()), GameTable(name)) << name.toStdString();
    ASSERT_EQ(Run({"diff", project}), 0) << err.toStdString();
    EXPECT_EQ(out, "");

    Lines weapons(GameTable("Weapons.txt"));
    const int pick = weapons.Row("Military Pick"), mindam = weapons.Column("mindam");
    const QByteArray oldDamage = weapons.Cell(pick, mindam);
    weapons.SetCell(pick, mindam, "777");
    weapons.lines.removeAt(weapons.Row("Club"));
    weapons.lines.insert(weapons.Row("Giant Axe") + 1, weapons.Renamed(weapons.Row("Giant Axe"), "Carvestone Axe"));
    Write("weapons.txt", weapons.Bytes());
    Lines armor(GameTable("Armor.txt"));
    const int secondShield = armor.Row("Ancient Shield", 2);
    const QByteArray oldArmorClass = armor.Cell(secondShield, armor.Column("minac"));
    armor.SetCell(secondShield, armor.Column("minac"), "1" + oldArmorClass);
    for (int row = 0; row < armor.lines.size(); ++row)
        armor.lines[row] = armor.lines[row].chopped(1) + (row == 0 ? "\tcarvestone\r" : "\t1\r");
    Write("armor.txt", armor.Bytes());

    ASSERT_EQ(Run({"diff", project}), 0) << err.toStdString();
    EXPECT_EQ(out, Armor + "\tcol+\t\tcarvestone\t\t\n"
                       + Armor + "\tcell\tAncient Shield#2\tminac\t" + oldArmorClass + "\t1" + oldArmorClass + "\n"
                       + Weapons + "\tcell\tMilitary Pick\tmindam\t" + oldDamage + "\t777\n"
                       + Weapons + "\trow+\tCarvestone Axe\t\t\t\n"
                       + Weapons + "\trow-\tClub\t\t\t\n");
    ASSERT_EQ(Run({"diff", project, "--stat"}), 0);
    EXPECT_EQ(out, Armor + "\t2\tcell 1\trow+ 0\trow- 0\tcol+ 1\tcol- 0\n"
                       + MonStats + "\t0\tcell 0\trow+ 0\trow- 0\tcol+ 0\tcol- 0\n"
                       + Weapons + "\t3\tcell 1\trow+ 1\trow- 1\tcol+ 0\tcol- 0\n");

    // Without a kept original the game archive answers; a file it lacks is new.
    QFile::remove(ModFile(".carvestone/originals/armor.txt"));
    Write("extra.dc6", "picture");
    ASSERT_EQ(Run({"add", project, "data\\extra.dc6"}), 0);
    ASSERT_EQ(Run({"diff", project, "--game", game, "--stat"}), 0) << err.toStdString();
    EXPECT_TRUE(out.startsWith("data\\extra.dc6\tfile+\t\t\t\t\n" + Armor + "\t2\t")) << out.toStdString();
    EXPECT_EQ(Run({"diff", project, "--game", fixtures.Path("absent.mpq")}), 1);
    EXPECT_TRUE(err.contains("absent.mpq was not found")) << err.toStdString();
    EXPECT_EQ(Run({"diff", project, "more"}), 2);
    EXPECT_EQ(Run({"add", project, Weapons, "--from", game}), 1);
    EXPECT_TRUE(err.contains("is in the MOD folder already")) << err.toStdString();
    // An archive to add from that is not there is said before anything is taken.
    EXPECT_EQ(Run({"add", project, "data\\other.txt", "--from", fixtures.Path("absent.mpq")}), 1);
    EXPECT_TRUE(err.contains("absent.mpq was not found")) << err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(ModFile("other.txt")));
}

TEST_F(ChangesCliTest, RebaseAppliesTheModsEditsToNewDataByteExactElsewhereAndListsTheConflict)
{
    Lines weapons(GameTable("Weapons.txt"));
    const int pick = weapons.Row("Military Pick"), mindam = weapons.Column("mindam");
    const int maxdam = weapons.Column("maxdam"), lost = weapons.Column("2handmindam");
    const QByteArray oldDamage = weapons.Cell(pick, mindam);
    Lines mine = weapons;
    mine.SetCell(pick, mindam, "777");
    mine.SetCell(mine.Row("Hand Axe"), maxdam, "123");
    mine.lines.insert(mine.Row("Giant Axe") + 1, mine.Renamed(mine.Row("Giant Axe"), "Carvestone Axe"));
    Write("weapons.txt", mine.Bytes());
    Lines armor(GameTable("Armor.txt"));
    const int minac = armor.Column("minac");
    Lines myArmor = armor;
    myArmor.SetCell(1, minac, "55");
    Write("armor.txt", myArmor.Bytes());

    // The new data: a row more, a column less, cells changed, one of them the MOD's.
    Lines newWeapons = weapons;
    newWeapons.SetCell(pick, mindam, "6");
    newWeapons.SetCell(newWeapons.Row("Axe"), maxdam, "99");
    newWeapons.lines.append(newWeapons.Renamed(newWeapons.lines.size() - 1, "Prime Pike"));
    newWeapons.RemoveColumn(lost);
    Lines newArmor = armor;
    newArmor.SetCell(2, minac, "66");
    const QString newGame = fixtures.MakeGameArchive("new.mpq", {{Armor, newArmor.Bytes()},
                                                                 {MonStats, GameTable("MonStats.txt")},
                                                                 {Weapons, newWeapons.Bytes()}});

    ASSERT_EQ(Run({"rebase", project, "--onto", newGame}), 3) << err.toStdString();
    EXPECT_EQ(out, Weapons + "\tcell\tMilitary Pick\tmindam\t" + oldDamage + "\t6\t777\n");
    Lines expected = newWeapons;
    expected.SetCell(pick, mindam, "777");
    expected.SetCell(expected.Row("Hand Axe"), maxdam, "123");
    expected.lines.insert(expected.Row("Giant Axe") + 1, expected.Renamed(expected.Row("Giant Axe"), "Carvestone Axe"));
    EXPECT_EQ(Mod("weapons.txt"), expected.Bytes());
    newArmor.SetCell(1, minac, "55");
    EXPECT_EQ(Mod("armor.txt"), newArmor.Bytes());
    EXPECT_EQ(Mod("monstats.txt"), GameTable("MonStats.txt"));
    EXPECT_EQ(Mod(".carvestone/originals/weapons.txt"), newWeapons.Bytes());

    const QString backup = QDir(fixtures.Path("mods/Mod")).entryList({"rebase-backup-*"}, QDir::Dirs).value(0);
    ASSERT_FALSE(backup.isEmpty());
    EXPECT_TRUE(err.contains("3 tables carried over to " + QDir::toNativeSeparators(newGame) + ", 1 conflict"))
        << err.toStdString();
    EXPECT_TRUE(err.contains(QDir::toNativeSeparators(ModFile(backup)))) << err.toStdString();
    EXPECT_EQ(Mod(backup + "/weapons.txt"), mine.Bytes());
    EXPECT_EQ(Mod(backup + "/originals/weapons.txt"), weapons.Bytes());

    // Nothing is left to carry over onto the same data.
    ASSERT_EQ(Run({"rebase", project, "--onto", newGame}), 0) << err.toStdString();
    EXPECT_EQ(Mod("weapons.txt"), expected.Bytes());
}

TEST_F(ChangesCliTest, RebaseThatCannotFinishLeavesEveryModFileAsItWas)
{
    Lines weapons(GameTable("Weapons.txt"));
    weapons.SetCell(weapons.Row("Axe"), weapons.Column("maxdam"), "123");
    Write("weapons.txt", weapons.Bytes());
    Lines newWeapons(GameTable("Weapons.txt"));
    newWeapons.SetCell(newWeapons.Row("Wand"), newWeapons.Column("maxdam"), "9");
    const QString newGame = fixtures.MakeGameArchive("new.mpq", {{Weapons, newWeapons.Bytes()}, {Armor, "just words\r\n"}});
    const QString renamed = fixtures.MakeGameArchive("renamed.mpq", {{Weapons, "a\tb\r\nx\t1\r\n"}});
    const QString damaged = fixtures.Write("damaged.mpq", QByteArray("MPQ\x1a", 4) + QByteArray(200, 'x'));
    const QMap<QString, QByteArray> before = {{"weapons.txt", Mod("weapons.txt")}, {"armor.txt", Mod("armor.txt")},
                                              {"monstats.txt", Mod("monstats.txt")}};
    const auto unchanged = [&] {
        for (auto it = before.begin(); it != before.end(); ++it)
            EXPECT_EQ(Mod(it.key()), it.value()) << it.key().toStdString();
        EXPECT_TRUE(QDir(fixtures.Path("mods/Mod")).entryList({"rebase-backup-*"}, QDir::Dirs).isEmpty());
    };

    EXPECT_EQ(Run({"rebase", project, "--onto", newGame}), 1);
    EXPECT_TRUE(err.contains("nothing was changed: " + Armor + " in new.mpq is not a tab-separated table"))
        << err.toStdString();
    EXPECT_EQ(Run({"rebase", project, "--onto", renamed}), 1);
    EXPECT_TRUE(err.contains("have nothing in common with those of " + Weapons + " in renamed.mpq")) << err.toStdString();
    EXPECT_EQ(Run({"rebase", project, "--onto", damaged}), 1);
    EXPECT_TRUE(err.contains("damaged.mpq")) << err.toStdString();
    EXPECT_EQ(Run({"rebase", project}), 2);
    unchanged();

    // Every table is written before the originals, which cannot be: where
    // their folder should be stands a file.  The tables get their bytes back.
    const QString newOnly = fixtures.MakeGameArchive("new-weapons.mpq", {{Weapons, newWeapons.Bytes()}});
    ASSERT_TRUE(QDir(ModFile(".carvestone")).removeRecursively());
    Write(".carvestone", "in the way");
    EXPECT_EQ(Run({"rebase", project, "--onto", newOnly, "--base", game}), 1);
    EXPECT_TRUE(err.contains("nothing was changed: The folder " + QDir::toNativeSeparators(ModFile(".carvestone/originals"))
                             + " cannot be made: " + QDir::toNativeSeparators(ModFile(".carvestone")) + " is a file."))
        << err.toStdString();
    unchanged();
}

} // namespace
