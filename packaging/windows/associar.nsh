; .smd files open in Somado: "Abrir com", a double click, the file's icon.
WriteRegStr SHCTX "Software\Classes\.smd" "" "Quorvel.Somado.Puzzle"
WriteRegStr SHCTX "Software\Classes\Quorvel.Somado.Puzzle" "" "Puzzle Somado"
WriteRegStr SHCTX "Software\Classes\Quorvel.Somado.Puzzle\DefaultIcon" "" "$INSTDIR\somado.exe,0"
WriteRegStr SHCTX "Software\Classes\Quorvel.Somado.Puzzle\shell\open\command" "" '"$INSTDIR\somado.exe" "%1"'
System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
