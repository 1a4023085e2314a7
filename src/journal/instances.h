#pragma once
#include "refbooks/book_instances.h"

// One instance of every window, reachable program-wide; created by the window owner (startup.h) in the
// start-up order. The reference books' own are declared with them (refbooks/book_instances.h).
class TForm1;   // shift journal
class TForm11;  // entry editor
class TForm15;  // printed time sheet
class TForm16;  // report by workers
class TForm17;  // report by products
class TForm18;  // reports window
class TForm19;  // time sheet
class TForm20;  // detailed report by workers
class TForm21;  // detailed report by products
class TForm23;  // sign-in
class TForm24;  // pay statements
class TForm25;  // history of an entry
class TForm26;  // changes over a period
class TForm27;  // people who sign in by name

extern TForm1* Form1;
extern TForm11* Form11;
extern TForm15* Form15;
extern TForm16* Form16;
extern TForm17* Form17;
extern TForm18* Form18;
extern TForm19* Form19;
extern TForm20* Form20;
extern TForm21* Form21;
extern TForm23* Form23;
extern TForm24* Form24;
extern TForm25* Form25;
extern TForm26* Form26;
extern TForm27* Form27;
