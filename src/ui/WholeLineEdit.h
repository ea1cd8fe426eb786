#pragma once

// Qt 6.4 tells a line edit's text attributes as runs of no characters, and a screen reader that
// splits the text by them (Orca 43) reads all of it but the last character: "12:58:4" for
// "12:58:46". Once installed, a line edit whose runs Qt tells empty tells one run over its whole
// text; where Qt answers rightly, its answer stands.
void ReadLineEditsWhole();
