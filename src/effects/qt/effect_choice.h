#pragma once
// The handler of the "..." button beside the use-effects check box: fills the catalogue
// when it is still empty, lets the user pick effects and applies the pick at once.
class QWidget;
class EffectCatalogue;

// Fills `catalogue` when it holds no entries (a failure is shown in a message box and
// nothing else happens), runs the effect selection dialog modally over `owner` and, on
// OK, replaces the catalogue's selection with the rows the user chose.
void chooseEffects(QWidget* owner, EffectCatalogue& catalogue);
