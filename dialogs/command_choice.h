// The choosing rule as the main window's commands apply it.
#pragma once

#include "choosing_rule.h"

class CTarvoDlg;

// Shows the rule's message and returns false when the command stops.
bool chooseForCommand(CTarvoDlg* dlg, rules::Command command, rules::Choice& choice);
