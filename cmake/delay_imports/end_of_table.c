/* The zero entry that ends the delay import table of a program. dlltool's delay import
 * libraries give each DLL one descriptor in the section .text$2; the linker sorts the
 * groups of .text by name, so .text$2z comes right behind the last of them. */
__attribute__((used, section(".text$2z"), aligned(4))) static const char end_of_table[32];
