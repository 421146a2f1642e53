#pragma once

namespace varnok {

// Control ids of the main key-definition window, as its dialog template numbers them. The
// window's behaviour and its platform layer address every control by these.
namespace ControlId {

// clang-format off
constexpr int Unnamed       = -1;    // static texts and the frame that nothing addresses
constexpr int Exit          = 2;     // the dialog's cancel button
constexpr int Save          = 1000;
constexpr int Clear         = 1004;
constexpr int Ctrl          = 1006;  // Group Key modifiers
constexpr int Shift         = 1007;
constexpr int Alt           = 1016;
constexpr int GetDefinedKey = 1019;  // created hidden, never shown
constexpr int KeyCount      = 1020;  // drop-down list "1".."6"
constexpr int KeyCountLabel = 1021;  // says what the key count list counts
constexpr int ValueBox1     = 1024;  // value boxes of key slots 1..6: 1024..1029
constexpr int ValueBox2     = 1025;
constexpr int ValueBox3     = 1026;
constexpr int ValueBox4     = 1027;
constexpr int ValueBox5     = 1028;
constexpr int ValueBox6     = 1029;
constexpr int HiddenValue   = 1030;  // value field of key slot 0, created hidden
constexpr int Language      = 1031;  // drop-down list "English", "Chinese"
constexpr int Row2Label     = 1032;  // row 1's label has no id
constexpr int Row3Label     = 1033;
constexpr int Prompt        = 1034;
constexpr int Heading       = 1035;
constexpr int Row4Label     = 1036;
constexpr int Row5Label     = 1037;
constexpr int Row6Label     = 1038;
constexpr int Status        = 1040;  // whether the keyboard is there
constexpr int ProgressText  = 1041;  // what a running save or read-back is doing
constexpr int Progress      = 1042;  // its bar: how far it is
constexpr int Notice        = 1043;  // why the last input was refused
constexpr int LayoutLabel   = 1044;  // says what the layout list chooses
constexpr int Layout        = 1045;  // drop-down list of the keyboard layouts string keys type for
constexpr int FunctionList1 = 1054;  // function lists of rows 1..6: 1054..1059
constexpr int FunctionList2 = 1055;
constexpr int FunctionList3 = 1056;
constexpr int FunctionList4 = 1057;
constexpr int FunctionList5 = 1058;
constexpr int FunctionList6 = 1059;
// Not a control of the template: the entry of the window's context menu that reads the keys
// back from the keyboard, as the hidden Get Defined Key button would. Its text is set like a
// control's, in the window's language.
constexpr int ReadBackEntry = 1101;
// The context menu's entries that write the keys to a profile file and take them from one,
// that undo and redo a change of the rows, and that show the About box.
constexpr int ExportEntry   = 1102;
constexpr int ImportEntry   = 1103;
constexpr int UndoEntry     = 1104;
constexpr int RedoEntry     = 1105;
constexpr int AboutEntry    = 1106;
// The entry that opens the key tester.
constexpr int TestKeysEntry = 1107;
// clang-format on

constexpr bool IsValueBox(int id) {
    return id >= ValueBox1 && id <= ValueBox6;
}
constexpr bool IsMenuEntry(int id) {
    return id >= ReadBackEntry && id <= TestKeysEntry;
}
constexpr bool IsFunctionList(int id) {
    return id >= FunctionList1 && id <= FunctionList6;
}

}  // namespace ControlId

}  // namespace varnok
