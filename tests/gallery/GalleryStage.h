#pragma once
// The stage the gallery renders on: forms on the offscreen platform under a fixed system (a
// cursor that moves only when told), and the moves a user makes (focus, pointer over a control)
// before a picture is taken of what the window system shows.
#include "platform/rtl/Variant.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SystemFacade.h"
#include "toolkit/core/cxLookAndFeelPainters.h"
#include "toolkit/editors/cxEdit.h"
#include "toolkit/editors/cxEditControl.h"

#include <QImage>
#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace gallery {

// Lets Qt, the posted messages and deferred deletions run for a short while.
void Settle(int rounds = 4);
// A shown, active form of that client size and colour.
TForm* NewForm(int width, int height, TColor color = clBtnFace);
bool ActivateForm(TForm* form);
// What the screen shows of a rectangle of the form's client area (children included).
QImage Grab(TWinControl* form, const TRect& clientRect);
// What the screen shows of a control and a margin around it, taken from its form.
QImage Shot(TControl* control, int margin = 3);
// The whole window of a top-level control (a popup).
QImage ShotWindow(TWinControl* window);
// Moves the pointer to a point of a control (hot tracking follows it), or off every control.
void Hover(TControl* control, int x, int y);
void Unhover(TForm* form);
// Gives a control the focus as a click or Tab would: a text editor's field takes it.
void Focus(TWinControl* control);

// One editor kind: how to make it, set it up and give it a value, stand-alone and in a cell.
struct Kind {
    std::string name;
    cx::TcxCustomEditPropertiesClass properties;
    std::function<cx::TcxCustomEdit*(rtl::TComponent* owner)> make;
    std::function<void(cx::TcxCustomEditProperties*)> setup;   // may be empty
    std::function<rtl::Variant(bool chinese)> value;
    std::string valueType = "String";
    int height = 21;
    bool dropDown = false;
};
const std::vector<Kind>& Kinds();
// Look-and-feel kinds and the style values, with their names.
extern const std::vector<std::pair<TcxLookAndFeelKind, const char*>> LookAndFeelKinds;
extern const std::vector<std::pair<cx::TcxEditBorderStyle, const char*>> BorderStyles;
extern const std::vector<std::pair<cx::TcxEditButtonStyle, const char*>> ButtonStyles;

// The sheets; each writes its PNGs into the folder and names them in `written`.
struct Output {
    QString dir;
    std::vector<QString> written;
    void Save(const class Sheet& sheet, const QString& name);
};
void EditorSheets(Output& out);
void StyleSheets(Output& out);
void PopupSheets(Output& out);
void GridSheets(Output& out);
void ChoiceSheets(Output& out);
void BaseSheets(Output& out);
void FilterSheets(Output& out);

} // namespace gallery
