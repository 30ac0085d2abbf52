// Stands in for the program: it runs only if the DLL beside it was installed with it.
extern "C" __declspec(dllimport) int VersaoQpdf();

int main() {
    return VersaoQpdf() == 11 ? 0 : 1;
}
