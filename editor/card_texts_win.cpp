// Card texts: each of the six edit boxes feeds its label on the card.
#include "app/controls_win.h"
#include "editor/handlers_win.h"
#include "editor/trans_label_win.h"

void copyFieldToLabel(EditBox& edit, TransLabel& label) { label.setText(edit.text()); }
