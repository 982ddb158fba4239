// The fixed tables planets are made from: factions, thing kinds, light rows and name syllables.
#include "game/Main.h"

// The order of every table matters: a random draw picks an entry by its index.

const std::array<TFaction, 5> Factions = {{
    {"FlagBlue", "Unified Workers of the Galaxy"},
    {"FlagGreen", "High Lords of the Universe"},
    {"FlagGray", "Universal Miners Association"},
    {"FlagPink", "Space Traders Guild"},
    {"FlagYellow", "Federation of Fantastic Fish"},
}};

const std::array<std::string_view, 19> ThingKinds = {
    "B_Res_M",   "B_Res_S",     "Pine",      "FruitTree",   "Rock1",     "Rock2",   "Rock3",
    "Radar",     "B_Vitamin",   "B_Marmalade", "B_Mineral", "B_Furniture", "B_Weapons",
    "B_Water",   "B_Ship",      "B_Robot",   "B_Soldier",   "B_Castle",  "B_Power",
};

// The yellow row's first offset (15) sits right after the tower at the base angle itself. In each
// row the middle light's glow starts falling while its neighbours' rise. On the 8-bit frame a
// blended draw is a plain copy, so the player sees the lights shine steadily.
const std::array<TLightRow, 4> LightRows = {{
    {10, 1, "FlashYellow", {15, 25, 35}, 1},
    {18, 4, "FlashRed", {40, 50, 60}, 50},
    {25, 7, "FlashGreen", {65, 75, 85}, 100},
    {30, 10, "FlashBlue", {90, 100, 110}, 150},
}};

const std::array<std::string_view, 40> FirstSyllables = {
    "Lie", "Xy",  "Corr", "Wiet", "Lo",  "Pu",  "Gien", "Za",   "Ju",  "Pri",
    "Kro", "Harr", "Erg", "Syl",  "Tru", "Sta", "Lou",  "Jen",  "Ra",  "Arn",
    "Hon", "Ki",  "Et",   "The",  "Gry", "Gna", "Ba",   "Qie",  "Don", "Ute",
    "Vene", "Asg", "Wem", "Cwi",  "Lot", "Stha", "Kin", "Ot",   "Kif", "Ok",
};

// "po" stands twice, so it comes up twice as often as the others.
const std::array<std::string_view, 20> SecondSyllables = {
    "fat", "zon", "kie", "are", "ol",  "pi", "cry",  "zta", "po",  "el",
    "aer", "tul", "yieh", "po", "une", "om", "meth", "pit", "gnu", "dre",
};

const std::array<std::string_view, 10> ThirdSyllables = {
    "iet", "lit", "tun", "can", "ni", "on", "zon", "kat", "thi", "ent",
};

const std::array<std::string_view, 10> FourthSyllables = {
    "cor", "yen", "dol", "ieth", "not", "luk", "kli", "nam", "yur", "kyn",
};
