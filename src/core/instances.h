#pragma once

// One instance of every window, reachable program-wide; created by main in the start-up order.
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm15;
class TForm16;
class TForm17;
class TForm18;
class TForm19;
class TForm20;
class TForm21;
class TForm22;
class TForm23;
class TDataModule6;

extern TForm1* Form1;
extern TForm2* Form2;
extern TForm3* Form3;
extern TForm4* Form4;
extern TForm5* Form5;
extern TForm7* Form7;
extern TForm8* Form8;
extern TForm9* Form9;
extern TForm10* Form10;
extern TForm11* Form11;
extern TForm15* Form15;
extern TForm16* Form16;
extern TForm17* Form17;
extern TForm18* Form18;
extern TForm19* Form19;
extern TForm20* Form20;
extern TForm21* Form21;
extern TForm22* Form22;
extern TForm23* Form23;
extern TDataModule6* DataModule6;
