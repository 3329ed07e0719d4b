#pragma once

#include <QHash>

#include "controls/DialogFont.h"
#include "resources/DialogTable.h"

class QWidget;

// Makes the controls of a dialog table on `window`, as the dialog manager makes them from a
// resource: each placed in pixels from its dialog units, with its styles, the table's accessible
// name and, when it has an id, the object name "ctl<id>"; group boxes stay beneath their
// neighbours. Returns the controls that have an id, by id.
//
// Controls by kind: kStatic QLabel, kEdit QLineEdit (QPlainTextEdit when multi-line),
// kFramedEdit CFramedEdit (CFramedTextEdit when multi-line), kButton CSkinButton, kPlainButton
// QPushButton, kCheckBox QCheckBox, kGroupBox QGroupBox, kList CSortListCtrl, kLink CLinkLabel,
// kColorLabel CColorLabel, kHotkey QKeySequenceEdit, kBitmap/kIcon QLabel with the picture.
QHash<int, QWidget*> BuildDialogControls(const res::Dialog& table, const DialogBaseUnits& units,
                                         QWidget* window);
