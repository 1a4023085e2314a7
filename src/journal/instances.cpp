#include "journal/instances.h"

TForm1* Form1 = nullptr;
TForm11* Form11 = nullptr;
TForm15* Form15 = nullptr;
TForm16* Form16 = nullptr;
TForm17* Form17 = nullptr;
TForm18* Form18 = nullptr;
TForm19* Form19 = nullptr;
TForm20* Form20 = nullptr;
TForm21* Form21 = nullptr;
TForm23* Form23 = nullptr;
TForm24* Form24 = nullptr;
TForm25* Form25 = nullptr;
TForm26* Form26 = nullptr;
TForm27* Form27 = nullptr;
