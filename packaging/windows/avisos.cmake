# The notice file shipped with the Windows program: a Portuguese list of the libraries in its
# folder, then the full texts of their licences, taken from the build machine's Debian copies.
set(SOMADO_TEXTOS_LICENCAS "")
function(somado_juntar_licenca ATitulo AFicheiro APacote)
  if(NOT EXISTS "${AFicheiro}")
    message(FATAL_ERROR "${AFicheiro} is missing: the notice file needs it (Debian: ${APacote})")
  endif()
  file(READ "${AFicheiro}" texto)
  set(SOMADO_TEXTOS_LICENCAS
      "${SOMADO_TEXTOS_LICENCAS}\n\n---- ${ATitulo} ----\n\n${texto}" PARENT_SCOPE)
endfunction()
somado_juntar_licenca("GNU Lesser General Public License, versão 3 (Qt)"
                      /usr/share/common-licenses/LGPL-3 base-files)
somado_juntar_licenca("GNU General Public License, versão 3 (Qt, biblioteca de execução do GCC)"
                      /usr/share/common-licenses/GPL-3 base-files)
somado_juntar_licenca("Apache License, versão 2.0 (qpdf)"
                      /usr/share/common-licenses/Apache-2.0 base-files)
somado_juntar_licenca("libjpeg-turbo (como o Debian o distribui)"
                      /usr/share/doc/libjpeg62-turbo/copyright libjpeg62-turbo)
somado_juntar_licenca("zlib (como o Debian a distribui)" /usr/share/doc/zlib1g/copyright zlib1g)
# Only the exception's own text, out of the compiler's whole record.
set(registo_gcc /usr/share/doc/gcc-12-base/copyright)
if(NOT EXISTS ${registo_gcc})
  message(FATAL_ERROR "${registo_gcc} is missing: the notice file needs it (Debian: gcc-12-base)")
endif()
file(READ ${registo_gcc} texto_gcc)
string(FIND "${texto_gcc}" "GCC RUNTIME LIBRARY EXCEPTION" inicio)
string(FIND "${texto_gcc}" "2. No Weakening of GCC Copyleft." fim)
if(inicio LESS 0 OR fim LESS inicio)
  message(FATAL_ERROR "${registo_gcc} no longer holds the GCC Runtime Library Exception")
endif()
string(SUBSTRING "${texto_gcc}" ${inicio} -1 excecao)
string(FIND "${excecao}" "\n\n\n" fim_excecao)
string(SUBSTRING "${excecao}" 0 ${fim_excecao} excecao)
set(SOMADO_TEXTOS_LICENCAS "${SOMADO_TEXTOS_LICENCAS}\n\n---- GCC Runtime Library Exception, versão 3.1 ----\n\n${excecao}\n")
somado_juntar_licenca("MinGW-w64, winpthreads (como o Debian o distribui)"
                      /usr/share/doc/mingw-w64-common/copyright mingw-w64-common)
file(READ ${CMAKE_CURRENT_SOURCE_DIR}/windows/AVISOS.txt.in modelo)
string(CONFIGURE "${modelo}" avisos @ONLY)
# Windows' own line ends, for Notepad and the installer's licence page.
string(REPLACE "\r\n" "\n" avisos "${avisos}")
string(REPLACE "\n" "\r\n" avisos "${avisos}")
set(SOMADO_AVISOS ${CMAKE_CURRENT_BINARY_DIR}/AVISOS.txt)
file(WRITE ${SOMADO_AVISOS} "${avisos}")
