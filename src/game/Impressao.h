// "Imprimir": what the print dialog came to, and the line that reports it. The dialog itself,
// its preview and the printer are the window's; the pages are the PDF unit's.
#pragma once

#include "pdf/UnitSomadoPdf.h"

#include <QString>

#include <cstdint>

enum class TEstadoImpressao : uint8_t { Cancelada, Impressa, Falhou };

struct TResultadoImpressao {
    TEstadoImpressao Estado = TEstadoImpressao::Cancelada;
    TConteudoImpressao Conteudo = TConteudoImpressao::ComoEsta;
    // Where the pages went: the printer's name, or the file the dialog printed to.
    QString Destino;
    int32_t Paginas = 0;
    // Why nothing, or not everything, was printed (Falhou).
    QString Erro;
};

// The information box's line after a print that went through.
QString LinhaDaImpressao(const TResultadoImpressao& AResultado);
