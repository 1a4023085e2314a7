#pragma once

// The reference books' windows, one instance each, created by the window owner (journal/startup.h) in the
// start-up order; non-owning pointers, null outside the owner's life.
class TForm2;   // worker editor
class TForm3;   // products
class TForm4;   // operations
class TForm5;   // workers
class TForm7;   // product editor
class TForm8;   // operation kinds
class TForm9;   // operation kind editor
class TForm10;  // operation dialog
class TForm22;  // norms grid

extern TForm2* Form2;
extern TForm3* Form3;
extern TForm4* Form4;
extern TForm5* Form5;
extern TForm7* Form7;
extern TForm8* Form8;
extern TForm9* Form9;
extern TForm10* Form10;
extern TForm22* Form22;
