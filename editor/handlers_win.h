// The card editor's event handlers, bound to control events by MainWindow.
#pragma once

class MainWindow;
class EditBox;
class TransLabel;

// Card texts: the whole content of an edit box becomes the text of its label.
void copyFieldToLabel(EditBox& edit, TransLabel& label);

// Font pickers.
enum class FontRow { Title, Name, Skill, Note };
void onFontButtonClicked(MainWindow& window, FontRow row);
void setFontButtonCaptions(MainWindow& window);

// Offset spinners. direction is 1 for the up arrow; anything else is down.
enum class OffsetPair { Title, Name };
void onOffsetSpin(MainWindow& window, OffsetPair pair, int direction);

// Frames: binds framePanel to cardCanvas and shows the (Lord, Three) frame.
void showDefaultFrame(MainWindow& window);
// Shows the frame of the current camp and health selections.
void applyFrame(MainWindow& window);

// Portrait and saving.
void choosePicture(MainWindow& window);
void saveCardImage(MainWindow& window);
