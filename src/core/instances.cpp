#include "core/instances.h"

TForm1* Form1 = nullptr;
TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm4* Form4 = nullptr;
TForm5* Form5 = nullptr;
TForm7* Form7 = nullptr;
TForm8* Form8 = nullptr;
TForm9* Form9 = nullptr;
TForm10* Form10 = nullptr;
TForm11* Form11 = nullptr;
TForm15* Form15 = nullptr;
TForm16* Form16 = nullptr;
TForm17* Form17 = nullptr;
TForm18* Form18 = nullptr;
TForm19* Form19 = nullptr;
TForm20* Form20 = nullptr;
TForm21* Form21 = nullptr;
TForm22* Form22 = nullptr;
TForm23* Form23 = nullptr;
TDataModule6* DataModule6 = nullptr;
