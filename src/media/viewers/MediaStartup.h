#pragma once

// What the web engine of the browser window needs before it starts: the program's own
// URL scheme, and (only when running as root, as in tests and CI containers, where the
// engine refuses to start otherwise) its sandbox switched off. Ordinary users keep the
// sandbox. Called before the first web engine object is made.
void prepareWebEngineStart();

// For a program that links the viewers directly (the viewers' tests): the web engine's
// shared OpenGL contexts are asked for before the QApplication exists, then as above.
void prepareMediaRoom();
