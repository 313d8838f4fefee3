#include "keyboard/keyboard_appearance.h"

namespace snibbet {
namespace {

// face, frame; normal face, outline, name, character; pressed face, outline,
// name; highlighted face, outline, name, character.
struct BuiltInScheme {
  int number;
  KeyColour colours[13];
};

constexpr BuiltInScheme kBuiltInSchemes[] = {
    {0, {0xFF9933, 0x800000, 0xFEFEFE, 0xFF9933, 0x808080, 0x000000, 0x800000, 0x91D0FF, 0xFFFFFF, 0xCC6600, 0x4E91FE,
         0xFFFFFF, 0xFFFFFF}},
    {3, {0xFAE4D3, 0xC25418, 0x43D376, 0x605B4D, 0x6B240A, 0xFF0000, 0x1A4EFF, 0x605B4D, 0x6B240A, 0x01CBFE, 0x605B4D,
         0x6B240A, 0xFF0000}},
    {4, {0x000000, 0x10496B, 0x00FF00, 0x175173, 0x08B2FF, 0xFFCF9C, 0x656565, 0xBAB7A9, 0xFDFDFD, 0x1E77A2, 0x006195,
         0x09B5FF, 0xCECFCE}},
    {5, {0x333333, 0x000000, 0x515151, 0x000000, 0x589218, 0x000000, 0x232323, 0xBAB7A9, 0xFDFDFD, 0x3F3F3F, 0x8F845A,
         0x99FF00, 0x000000}},
    {6, {0x000000, 0x333333, 0x202020, 0x000000, 0xFFFFFF, 0x589218, 0x656565, 0xBAB7A9, 0xFDFDFD, 0x3F3F3F, 0x8F845A,
         0x99FF00, 0x589218}},
    {7, {0x676767, 0x000000, 0x515151, 0x000000, 0x009966, 0x000000, 0x222222, 0x009966, 0xFFFFFF, 0x3F3F3F, 0x5BB398,
         0x45987F, 0x000000}},
    {8, {0xC6C6C6, 0x000000, 0x39BEF7, 0x083139, 0x000000, 0x075A2B, 0x000000, 0x808080, 0xFFFFFF, 0x8CEEFF, 0x109ABC,
         0x000000, 0x000000}},
};

KeySchemeColours FromColumns(const KeyColour (&c)[13]) {
  KeySchemeColours s;
  s.face = c[0];
  s.frame = c[1];
  s.normal = {c[2], c[3], c[4], c[5]};
  s.pressed = {c[6], c[7], c[8], c[8]};
  s.highlighted = {c[9], c[10], c[11], c[12]};
  return s;
}

constexpr KeyColour kBlue = 0xFF0000;

KeySchemeColours SystemScheme(const SchemeColourSource& source) {
  const auto sys = [&](int index) { return source.systemColour ? source.systemColour(index) : 0; };
  const auto office = [&](int entry) { return source.officeColour ? source.officeColour(entry) : 0; };
  KeySchemeColours s;
  s.face = sys(21);
  s.frame = 0x000000;
  s.normal = {sys(15), sys(8), sys(8), kBlue};
  s.pressed = {source.lightHighlight, office(16), sys(5), sys(5)};
  s.highlighted = {source.paleHighlight, office(16), sys(8), kBlue};
  return s;
}

KeySchemeColours OfficeScheme(const SchemeColourSource& source) {
  const auto office = [&](int entry) { return source.officeColour ? source.officeColour(entry) : 0; };
  KeySchemeColours s;
  s.face = office(39);
  s.frame = office(37);
  s.normal = {office(38), office(37), office(30), kBlue};
  s.pressed = {office(25), office(21), office(30), office(30)};
  s.highlighted = {office(23), office(21), office(30), kBlue};
  return s;
}

KeySchemeColours UserScheme(const UserColours& own, const SchemeColourSource& source) {
  UserColours c = own;
  if (source.plainColour)
    for (KeyColour& colour : c) colour = source.plainColour(colour);
  KeySchemeColours s;
  s.face = c[8];
  s.frame = c[6];
  s.normal = {c[1], c[0], c[7], c[2]};
  s.pressed = {c[5], c[4], c[11], c[11]};
  s.highlighted = {c[10], c[9], c[3], c[12]};
  return s;
}

}  // namespace

KeySchemeColours SchemeKeyColours(int scheme, const UserColours& userColours, const SchemeColourSource& source) {
  if (scheme == 1) return SystemScheme(source);
  if (scheme == 2) return OfficeScheme(source);
  for (const BuiltInScheme& builtIn : kBuiltInSchemes) {
    if (builtIn.number == scheme) return FromColumns(builtIn.colours);
  }
  return UserScheme(userColours, source);
}

}  // namespace snibbet
