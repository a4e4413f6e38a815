#pragma once
// The translation walk: every control that carries a caption tag (the dynamic property
// "tag") takes its caption from the catalogue in the current language. Also gives every
// control its accessible name from the caption it shows or from the label of its field.

#include "catalogue/message_catalogue.h"

class QString;
class QWidget;

namespace pc {

// The dynamic property that holds a control's caption tag; 0 or absent: not translated.
inline constexpr const char* kTagProperty = "tag";
// A group box whose radio buttons are the items of a radio group: its caption is tag t
// and its i-th radio button takes t + i + 1.
inline constexpr const char* kRadioGroupProperty = "radioGroup";

// The catalogue's text of entry `number` in `language`, as a QString.
QString CatalogueQString(int number, Language language);

// Re-reads every tagged caption of `window` and its children, menus and actions
// included: labels, buttons, check and radio buttons, group boxes (radio groups with
// their items), tab pages, menus and menu items take text(t); a list widget's existing
// items take t, t + 1, ...; combo boxes, edit fields and grids stay as they are. Then
// refreshes the accessible names.
void TranslateWindow(QWidget& window, Language language);

// Every button and label is named by its caption (without its "&"), every field by the
// label that is its buddy.
void UpdateAccessibleNames(QWidget& window);

}  // namespace pc
