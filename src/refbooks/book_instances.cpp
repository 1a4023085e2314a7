#include "refbooks/book_instances.h"

TForm2* Form2 = nullptr;
TForm3* Form3 = nullptr;
TForm4* Form4 = nullptr;
TForm5* Form5 = nullptr;
TForm7* Form7 = nullptr;
TForm8* Form8 = nullptr;
TForm9* Form9 = nullptr;
TForm10* Form10 = nullptr;
TForm22* Form22 = nullptr;
