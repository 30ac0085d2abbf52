// The rules of the game and the description of the command buttons, written once and shown
// both in the help window and on the rules page of the exported PDFs. It lives below both, and
// needs only Qt Core, so that the PDF code uses it without including the user interface.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

enum class TTipoBloco : uint8_t {
    tbTitulo,    // heading of a section
    tbParagrafo, // running text
    tbItem,      // list entry; its text already begins with "- "
    tbEspaco     // empty line; Texto is empty
};

struct TBlocoRegras {
    TTipoBloco Tipo;
    QString Texto;
};

struct TBotaoAjuda {
    QString Nome;      // the caption of the button in the main window
    QString Descricao; // what it does, starting in lower case after the name
};

const std::vector<TBlocoRegras>& BlocosComoJogar();
const std::vector<TBlocoRegras>& BlocosDicas();
const std::vector<TBlocoRegras>& BlocosNiveis();

// In the order the buttons are presented in the help.
const std::vector<TBotaoAjuda>& BotoesAjuda();

// Headings are shown in capitals; Portuguese rules keep the accents ("Níveis" → "NÍVEIS").
QString TituloEmMaiusculas(const QString& ATexto);

// A title as typed by the user, without leading and trailing spaces and control characters.
QString SemEspacosNasPontas(const QString& ATexto);
