; The .smd association goes with the program, unless another program has taken it since.
ReadRegStr $0 SHCTX "Software\Classes\.smd" ""
StrCmp $0 "Quorvel.Somado.Puzzle" 0 +2
DeleteRegKey SHCTX "Software\Classes\.smd"
DeleteRegKey SHCTX "Software\Classes\Quorvel.Somado.Puzzle"
System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
