#include "MagicCodeTable.h"

#include <array>

namespace {

struct MagicCode
{
    const char* description;
    const char* code;
};

// The descriptions stay exactly as modders have long known them, misspellings
// included ("Missles", "Durablility"): they look entries up by those words.
// The codes are the game's own.
constexpr std::array<MagicCode, MagicCodeTable::Count> Rows{{
    {"Absorb Cold Damage", "ac00"},
    {"Absorb Cold Damage %", "ac01"},
    {"Absorb Fire Damage", "af00"},
    {"Absorb Fire Damage %", "af01"},
    {"Absorb Lightning Damage", "al00"},
    {"Absorb Lightning Damage %", "al01"},
    {"Absorb Magic Damage", "am00"},
    {"Absorb Magic Damage %", "am01"},
    {"Enhanced Defense", "ar00"},
    {"Enhanced Defense %", "ar02"},
    {"Damage Taken Reduced", "ar01"},
    {"Magic Damage Reduced", "ar03"},
    {"Ignore Target's Defense", "ar04"},
    {"Damage Target's Defense per Hit", "ar05"},
    {"Reduce Target's Defense %", "ar06"},
    {"Damage Taken Reduced %", "ar07"},
    {"Enhanced Defense vs Missles %", "ar08"},
    {"Enhanced Defense vs Melee %", "ar09"},
    {"Attacker Takes Damage", "at00"},
    {"Slightly Increased Attack Speed", "at01"},
    {"Increased Attack Speed", "at02"},
    {"Greatly Increased Attack Speed", "at03"},
    {"Attacker Takes Lightning Damage", "at04"},
    {"Increased Blocking", "bl00"},
    {"Fast Block Rate", "bl01"},
    {"Faster Block Rate", "bl02"},
    {"Fastest Block Rate", "bl03"},
    {"Fast Cast Rate", "ca00"},
    {"Faster Cast Rate", "ca01"},
    {"Fastest Cast Rate", "ca02"},
    {"Add Minimum Cold Damage", "dc00"},
    {"Add Maximum Cold Damage", "dc01"},
    {"Cold Effect Duration", "dc03"},
    {"Half Freeze Duration", "dc02"},
    {"Add Minimum Fire Damage", "df00"},
    {"Add Maximum Fire Damage", "df01"},
    {"Add Minimum Lightning Damage", "dl00"},
    {"Add Maximum Lightning Damage", "dl01"},
    {"Add Minimum Poison Damage", "dp00"},
    {"Add Maximum Poison Damage", "dp01"},
    {"Poison Duration", "dp02"},
    {"Add To Minimum Damage", "dm01"},
    {"Add To Maximum Damage", "dm00"},
    {"Enhanced Damage %", "dm02"},
    {"Enhanced Damage", "nd00"},
    {"Damage Taken Goes To Mana %", "dm03"},
    {"Chance of Deadly Strike %", "ds00"},
    {"Increase Maximum Durablility %", "du01"},
    {"Add To Dexterity", "dx00"},
    {"Fast Hit Recovery", "gh00"},
    {"Faster Hit Recovery", "gh01"},
    {"Fastest Hit Recovery", "gh02"},
    {"Heal Stamina %", "hl08"},
    {"Prevent Monster Heal", "hl10"},
    {"Increased Mana Regeneration %", "hl11"},
    {"Increased Maximum Stamina %", "hl12"},
    {"Reduce Stamina Drain %", "hl13"},
    {"Increased Attack Rating", "ht00"},
    {"Increased Attack Rating %", "ht01"},
    {"Hit Causes Monster To Flee", "hw00"},
    {"Hit Blinds Target", "hw01"},
    {"Increased Gold From Monsters %", "ib00"},
    {"Increased Chance For Magic Item %", "ib01"},
    {"Add To Energy", "in00"},
    {"Knockback", "ko00"},
    {"Life Regeneration", "lf00"},
    {"Increased Light Radius", "lt00"},
    {"Increased Damage vs Demons %", "md00"},
    {"Increased Damage vs Undead %", "md01"},
    {"Increased Attack Rating vs Demons %", "md02"},
    {"Increased Attack Rating vs Undead %", "md03"},
    {"Increased Life", "mh00"},
    {"Increased Life %", "mh01"},
    {"Life Stolen per Hit %", "mh03"},
    {"Increased Mana", "mm00"},
    {"Increased Mana %", "mm01"},
    {"Mana Stolen per Hit %", "mm03"},
    {"Poison Length Reduced %", "pd00"},
    {"Resist All %", "ra00"},
    {"Increased Max Resist All %", "ra01"},
    {"Resist Cold %", "rc00"},
    {"Increased Max Resist Cold %", "rc01"},
    {"Resist Fire %", "rf00"},
    {"Increased Max Resist Fire %", "rf01"},
    {"Resist Lightning %", "rl00"},
    {"Increased Max Resist Lightning %", "rl01"},
    {"Resist Poison %", "rp00"},
    {"Increased Max Resist Poison %", "rp01"},
    {"Resist Magic %", "rm00"},
    {"Increased Max Resist Magic %", "rm01"},
    {"Requirements Reduced %", "rq00"},
    {"Add Amazon Skills", "sk00"},
    {"Add Paladin Skills", "sk01"},
    {"Add Necromancer Skills", "sk02"},
    {"Add Sorceress Skills", "sk03"},
    {"Add Barbarian Skills", "sk04"},
    {"Add Fire Skills", "sk07"},
    {"Add All Skills", "sk08"},
    {"Make Item Throwable", "sp00"},
    {"Hit Freezes Target", "sp01"},
    {"Chance of Open Wounds %", "sp02"},
    {"Chance of Crushing Blow %", "sp03"},
    {"Enhanced Kick Damage", "sp04"},
    {"Add Mana per Kill", "sp05"},
    {"Increased Target Blood Spurts", "sp06"},
    {"Slow Target %", "sp07"},
    {"Cannot be Frozen", "sp10"},
    {"Add Life per Demon Kill", "sp11"},
    {"Chance to Re-Animate Target %", "sp12"},
    {"Piercing %", "sp13"},
    {"Fires Magic Arrows/Bolts", "sp14"},
    {"Fires Explosive Arrows/Bolts", "sp15"},
    {"Magic Effect Duration", "tm00"},
    {"Fast Run/Walk", "ve00"},
    {"Faster Run/Walk", "ve01"},
    {"Fastest Run/Walk", "ve02"},
    {"Add To Vitality", "vt00"},
    {"Add To Strength", "st00"},
}};

} // namespace

QString MagicCodeTable::Description(int row)
{
    return QString::fromLatin1(Rows.at(std::size_t(row)).description);
}

QString MagicCodeTable::Code(int row)
{
    return QString::fromLatin1(Rows.at(std::size_t(row)).code);
}

int MagicCodeTable::FindCode(const QString& code)
{
    for (int row = 0; row < Count; ++row)
        if (code == QLatin1String(Rows[std::size_t(row)].code))
            return row;
    return -1;
}
