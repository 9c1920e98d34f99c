#include "commands/line_values.h"

#include "commands/command_text.h"
#include "data/fields.h"
#include "data/text_intake.h"
#include "data/text_status.h"

bool readConfirmedLineValues(CommandContext& context)
{
    if (!confirmsDataFormat(TextStatus(context.ui, context.state)))
        return false;
    if (!readText(context))
        return false;
    readLineValues(context.state);
    return true;
}
