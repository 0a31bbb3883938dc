#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fondaris::forms {

class Form;
class Control;

using Event = std::function<void(Control* sender)>;

enum class ControlKind {
  Edit,
  MaskEdit,
  ComboBox,     // drop-down list or editable list
  ComboBoxInc,  // the program's own combo box (numeric mode, incremental search)
  CheckBox,
  RadioButton,
  Label,
  Button,
  Memo,
  GroupBox,
  PageControl,
  TabSheet,
  Timer,
  Image,
  MenuItem,
  HotKey,
};

// A control holds exactly the state the form logic reads and writes; the Qt binder mirrors it
// into a widget of the same name. Controls register with their form on construction.
class Control {
 public:
  Control(Form& form, std::string name, ControlKind kind, Control* parent = nullptr);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  const std::string& name() const { return name_; }
  ControlKind kind() const { return kind_; }
  Form& form() const { return form_; }
  // Group box, tab sheet or page control this control sits in (radio groups, visibility).
  Control* parent() const { return parent_; }
  void setParent(Control* parent) { parent_ = parent; }

  // --- state ---
  const std::string& text() const { return text_; }
  virtual void setText(const std::string& text);
  const std::string& caption() const { return caption_; }
  void setCaption(const std::string& caption) { caption_ = caption; }
  const std::string& hint() const { return hint_; }
  void setHint(const std::string& hint) { hint_ = hint; }

  bool visible() const { return visible_; }
  void setVisible(bool v) { visible_ = v; }
  // Visible itself and inside visible parents.
  bool showing() const;
  bool enabled() const { return enabled_; }
  void setEnabled(bool e) { enabled_ = e; }
  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool r) { readOnly_ = r; }
  // Buttons: Escape anywhere in the window clicks a cancel button.
  bool cancel() const { return cancel_; }
  void setCancel(bool c) { cancel_ = c; }

  int maxLength() const { return maxLength_; }  // 0: no limit
  void setMaxLength(int n) { maxLength_ = n; }
  // Text bound for a Windows-1252 file: characters the file cannot hold are refused as typed.
  bool windows1252Only() const { return windows1252Only_; }
  void setWindows1252Only(bool w) { windows1252Only_ = w; }
  int selStart() const { return selStart_; }
  int selLength() const { return selLength_; }
  void setSelection(int start, int length);

  int tag() const { return tag_; }
  void setTag(int t) { tag_ = t; }

  // Check boxes and radio buttons. Checking a radio button clears the others of its group
  // (the radio buttons with the same parent). Setting the state runs no event.
  bool checked() const { return checked_; }
  void setChecked(bool c);

  // Lists (combo boxes): setting the index sets the text to the item. Controls given the same
  // list share it: fifty lists of the same amounts are one; adding an item copies the list.
  using ItemList = std::shared_ptr<const std::vector<std::string>>;
  const std::vector<std::string>& items() const;
  const ItemList& itemList() const { return items_; }
  void setItems(std::vector<std::string> items);
  void shareItems(ItemList items);
  void addItem(const std::string& item);
  void clearItems();
  int itemIndex() const { return itemIndex_; }
  void setItemIndex(int index);
  int itemCount() const { return items_ ? static_cast<int>(items_->size()) : 0; }
  // Index of the first item equal to `text` (case-insensitive), or -1.
  int indexOf(const std::string& text) const;
  // Drop-down lists take only texts of their items; editable lists take any text.
  bool dropDownList() const { return dropDownList_; }
  void setDropDownList(bool d) { dropDownList_ = d; }

  // Masked edits: the edit mask (for example "!99/99/9999;1; "), shown as its empty text.
  const std::string& mask() const { return mask_; }
  void setMask(const std::string& mask) { mask_ = mask; }
  // A mask of digit places only ("9999999999;0;_", account numbers, bank codes): only digits
  // can be typed. A text set by the program (a loaded file) is taken as it is, so that the
  // form's checks can name what does not fit.
  bool digitsOnly() const;

  // Timers: interval in milliseconds; `enabled` starts and stops them.
  int interval() const { return interval_; }
  void setInterval(int ms) { interval_ = ms; }

  // Tab sheets: whether their tab shows; page controls: the active page index.
  bool tabVisible() const { return tabVisible_; }
  void setTabVisible(bool v) { tabVisible_ = v; }
  int activePage() const { return activePage_; }
  void setActivePage(int page) { activePage_ = page; }

  // --- events ---
  Event onExit, onEnter, onClick, onChange, onTimer;

  // --- what a user does (the binder and tests call these) ---
  // Types a whole new text: sets it and runs onChange.
  void userSetText(const std::string& text);
  // Picks a list item: sets the index and runs onChange, then onClick.
  void userSelect(int index);
  // Clicks: check boxes toggle, radio buttons check, then onClick.
  void userClick();
  // A released key (Windows virtual-key code), with Shift and with Ctrl or Alt held, and the
  // character it typed where the window system says (empty: it typed none, or nobody said);
  // only the program's combo box reacts.
  virtual void keyUp(int /*virtualKey*/, bool /*shift*/, bool /*controlOrAlt*/ = false,
                     std::string_view /*typed*/ = {}) {}

 protected:
  // After a typed text replaced `before` (and before onChange runs).
  virtual void textTyped(const std::string& /*before*/) {}

  std::string text_;

 private:
  Form& form_;
  std::string name_;
  ControlKind kind_;
  Control* parent_;
  std::string caption_, hint_, mask_;
  bool visible_ = true, enabled_ = true, readOnly_ = false, checked_ = false;
  bool dropDownList_ = false, tabVisible_ = true, windows1252Only_ = false, cancel_ = false;
  int maxLength_ = 0, selStart_ = 0, selLength_ = 0, tag_ = 0;
  ItemList items_;  // null: no items
  int itemIndex_ = -1;
  int interval_ = 0;
  int activePage_ = 0;
};

// Named kinds, so a form reads like its design: `Edit edV_Firma{*this, "edV_Firma"};`
#define FONDARIS_CONTROL_KIND(Type, Kind)                              \
  class Type : public Control {                                        \
   public:                                                             \
    Type(Form& form, std::string name, Control* parent = nullptr)      \
        : Control(form, std::move(name), ControlKind::Kind, parent) {} \
  };
FONDARIS_CONTROL_KIND(Edit, Edit)
FONDARIS_CONTROL_KIND(MaskEdit, MaskEdit)
FONDARIS_CONTROL_KIND(CheckBox, CheckBox)
FONDARIS_CONTROL_KIND(RadioButton, RadioButton)
FONDARIS_CONTROL_KIND(Label, Label)
FONDARIS_CONTROL_KIND(Button, Button)
FONDARIS_CONTROL_KIND(GroupBox, GroupBox)
FONDARIS_CONTROL_KIND(PageControl, PageControl)
FONDARIS_CONTROL_KIND(TabSheet, TabSheet)
FONDARIS_CONTROL_KIND(Timer, Timer)
FONDARIS_CONTROL_KIND(Image, Image)
FONDARIS_CONTROL_KIND(MenuItem, MenuItem)
FONDARIS_CONTROL_KIND(HotKey, HotKey)
#undef FONDARIS_CONTROL_KIND

// A multi-line text. In a read-only memo the user chooses a line by double-clicking it or by
// pressing Enter on it.
class Memo : public Control {
 public:
  Memo(Form& form, std::string name, Control* parent = nullptr)
      : Control(form, std::move(name), ControlKind::Memo, parent) {}

  // The line the caret is on, from 0.
  int caretLine() const { return caretLine_; }
  void setCaretLine(int line) { caretLine_ = line; }
  // The user chose `line`: the caret goes there, then onChooseLine runs.
  void userChooseLine(int line);

  Event onChooseLine;

 private:
  int caretLine_ = 0;
};

class ComboBox : public Control {
 public:
  ComboBox(Form& form, std::string name, Control* parent = nullptr,
           ControlKind kind = ControlKind::ComboBox)
      : Control(form, std::move(name), kind, parent) {}
};

}  // namespace fondaris::forms
