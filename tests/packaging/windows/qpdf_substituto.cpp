// Stands in for QPDF's DLL.
extern "C" __declspec(dllexport) int VersaoQpdf() {
    return 11;
}
