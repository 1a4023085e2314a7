#pragma once

class Dataset;

// Reads a book's shared dataset again after its verb wrote, so the list shows what is stored.
void reopen(Dataset* list);
