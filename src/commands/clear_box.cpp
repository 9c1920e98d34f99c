#include "commands/clear_box.h"

void clearBox(CommandContext& context) { context.ui.replaceBox(""); }
