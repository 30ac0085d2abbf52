#include "game/Explicacao.h"

#include "game/AjudasRegras.h"

#include <algorithm>
#include <bit>

namespace {

using TTipo = TPassoExplicado::TTipo;

constexpr uint32_t CDigitos = 0x3FE;
// A run's combinations are listed only while they fit a line or two of the information box.
constexpr size_t CMaxCombinacoesListadas = 4;

// Rows and columns as the player counts them on the grid, the clue frame included.
int32_t Numero(int32_t AIndice) {
    return AIndice + 1;
}

QString Casa(int32_t ARow, int32_t ACol) {
    return QStringLiteral("Linha %1, coluna %2:").arg(Numero(ARow)).arg(Numero(ACol));
}

QString Maiuscula(QString ATexto) {
    if (!ATexto.isEmpty()) ATexto[0] = ATexto[0].toUpper();
    return ATexto;
}

// "1", "1 ou 3", "1, 3 ou 5".
QString Enumerar(const QStringList& AItens, const QString& AConjuncao) {
    if (AItens.size() < 2) return AItens.join(QString());
    return AItens.mid(0, AItens.size() - 1).join(QStringLiteral(", ")) + u' ' + AConjuncao + u' ' +
           AItens.last();
}

QStringList Digitos(uint32_t AConjunto) {
    QStringList digitos;
    for (int32_t d = 1; d <= 9; ++d)
        if (AConjunto & (1u << d)) digitos << QString::number(d);
    return digitos;
}

// With the article when there is one digit: "o 3", "1 nem 5".
QString ListaDeDigitos(uint32_t AConjunto, const QString& AConjuncao) {
    const QStringList digitos = Digitos(AConjunto);
    return digitos.size() == 1 ? QStringLiteral("o ") + digitos.first()
                               : Enumerar(digitos, AConjuncao);
}

// What a cell can hold, said the shorter way: the digits it can be, or those of its run it
// cannot. "só pode ser 1 ou 2", "não pode ser 7 nem 9".
QString PodeSer(uint32_t AConjunto, uint32_t ADaCorrida) {
    const uint32_t fora = ADaCorrida & ~AConjunto;
    if (fora != 0 && std::popcount(fora) < std::popcount(AConjunto))
        return QStringLiteral("não pode ser ") + Enumerar(Digitos(fora), QStringLiteral("nem"));
    return QStringLiteral("só pode ser ") + Enumerar(Digitos(AConjunto), QStringLiteral("ou"));
}

QStringList Combinacoes(const std::vector<TConjuntoDigitos>& AConjuntos) {
    QStringList combinacoes;
    for (const TConjuntoDigitos c : AConjuntos)
        combinacoes << Digitos(c).join(u'+');
    // Every combination lists its digits in ascending order, so text order is digit order, as
    // in the clue cells' tooltips.
    std::sort(combinacoes.begin(), combinacoes.end());
    return combinacoes;
}

QString NomeDaCorrida(const TCorridaDaCelula& ACorrida) {
    return ACorrida.Horizontal ? QStringLiteral("linha") : QStringLiteral("coluna");
}

// Where a cell sits along a run: its column in a row, its row in a column.
QString LugarNaCorrida(const TCorridaDaCelula& ACorrida, int32_t ARow, int32_t ACol) {
    return ACorrida.Horizontal ? QStringLiteral("coluna %1").arg(Numero(ACol))
                               : QStringLiteral("linha %1").arg(Numero(ARow));
}

// "Linha 7, colunas 2 a 5:", "Coluna 4, linhas 8 e 9:".
QString Extensao(const TCorridaDaCelula& ACorrida) {
    const int32_t ultima = ACorrida.Comprimento - 1;
    const QString ate = ultima == 1 ? QStringLiteral("e") : QStringLiteral("a");
    return ACorrida.Horizontal ? QStringLiteral("Linha %1, colunas %2 %3 %4:")
                                     .arg(Numero(ACorrida.Row))
                                     .arg(Numero(ACorrida.Col))
                                     .arg(ate)
                                     .arg(Numero(ACorrida.ColDe(ultima)))
                               : QStringLiteral("Coluna %1, linhas %2 %3 %4:")
                                     .arg(Numero(ACorrida.Col))
                                     .arg(Numero(ACorrida.Row))
                                     .arg(ate)
                                     .arg(Numero(ACorrida.RowDe(ultima)));
}

// "17 em 3 casas", "17 em 3 casas, já com o 8".
QString Pista(const TCorridaDoPasso& ACorrida) {
    QString texto = QStringLiteral("%1 em %2 casas")
                        .arg(ACorrida.Corrida.Soma)
                        .arg(ACorrida.Corrida.Comprimento);
    if (ACorrida.Colocados)
        texto +=
            QStringLiteral(", já com ") + ListaDeDigitos(ACorrida.Colocados, QStringLiteral("e"));
    return texto;
}

// The clue with its combinations when they are few: "4 em 2 casas: 1+3".
QString PistaComCombinacoes(const TCorridaDoPasso& ACorrida) {
    QString texto = Pista(ACorrida);
    if (ACorrida.Combinacoes.size() <= CMaxCombinacoesListadas)
        texto +=
            QStringLiteral(": ") + Combinacoes(ACorrida.Combinacoes).join(QStringLiteral(", "));
    return texto;
}

void ExplicarCruzamento(const TPassoDeducao& APasso, TPassoExplicado& AExplicado) {
    AExplicado.Linhas << Casa(APasso.Row, APasso.Col);
    const TCorridaDoPasso& primeira = APasso.Corridas.front();
    if (APasso.Corridas.size() == 1) {
        AExplicado.Linhas << QStringLiteral("a %1 (%2 em %3 casas) já tem %4: falta o %5.")
                                 .arg(NomeDaCorrida(primeira.Corrida))
                                 .arg(primeira.Corrida.Soma)
                                 .arg(primeira.Corrida.Comprimento)
                                 .arg(Enumerar(Digitos(primeira.Colocados), QStringLiteral("e")))
                                 .arg(APasso.Digito);
    } else {
        const TCorridaDoPasso& segunda = APasso.Corridas[1];
        AExplicado.Linhas << QStringLiteral("a %1 (%2) só deixa %3;")
                                 .arg(NomeDaCorrida(primeira.Corrida),
                                      PistaComCombinacoes(primeira),
                                      ListaDeDigitos(primeira.Admite, QStringLiteral("ou")));
        AExplicado.Linhas << QStringLiteral("a %1 (%2) não admite %3.")
                                 .arg(NomeDaCorrida(segunda.Corrida), PistaComCombinacoes(segunda),
                                      ListaDeDigitos(primeira.Admite & ~segunda.Admite,
                                                     QStringLiteral("nem")));
    }
    AExplicado.Linhas << QStringLiteral("Logo esta casa é %1.").arg(APasso.Digito);
}

void ExplicarNotas(const TPassoDeducao& APasso, TPassoExplicado& AExplicado) {
    AExplicado.Linhas
        << Casa(APasso.Row, APasso.Col)
        << QStringLiteral("com as notas já tiradas, só o %1 cabe aqui.").arg(APasso.Digito)
        << QStringLiteral("Logo esta casa é %1.").arg(APasso.Digito);
}

// One rule on one run: the run, what is known of the cells the conclusion needs, the
// combinations (or fillings) that fit, and the conclusion.
void ExplicarRegra(const TSomadoBoard& ABoard, const TPassoDeducao& APasso,
                   TPassoExplicado& AExplicado) {
    const TCorridaDoPasso& run = APasso.Corridas.front();
    const TCorridaDaCelula& corrida = run.Corrida;
    const bool fixa = APasso.Digito != 0;
    // The run's empty cells and what its placed digits leave of the total.
    std::vector<std::pair<int32_t, int32_t>> abertas;
    int32_t resto = corrida.Soma;
    for (int32_t k = 0; k < corrida.Comprimento; ++k) {
        const int32_t v = ABoard.GetCell(corrida.RowDe(k), corrida.ColDe(k)).Value;
        if (v == 0) abertas.push_back({corrida.RowDe(k), corrida.ColDe(k)});
        resto -= v;
    }
    auto quem = [&](int32_t ARow, int32_t ACol) {
        return fixa && ARow == APasso.Row && ACol == APasso.Col
                   ? QStringLiteral("esta casa")
                   : QStringLiteral("a casa da ") + LugarNaCorrida(corrida, ARow, ACol);
    };

    QString combinacoes;
    if (run.Combinacoes.size() <= CMaxCombinacoesListadas)
        combinacoes =
            QStringLiteral(": ") + Combinacoes(run.Combinacoes).join(QStringLiteral(", "));
    if (fixa)
        AExplicado.Linhas << Casa(APasso.Row, APasso.Col)
                          << QStringLiteral("a %1 soma %2%3.")
                                 .arg(NomeDaCorrida(corrida), Pista(run), combinacoes);
    else
        AExplicado.Linhas << Extensao(corrida)
                          << QStringLiteral("soma %1%2.").arg(Pista(run), combinacoes);

    for (const THipoteseDoPasso& hipotese : APasso.Hipoteses) {
        const QString origem = hipotese.Corrida >= 0
                                   ? QStringLiteral("%1: %2").arg(
                                         NomeDaCorrida(APasso.Corridas[hipotese.Corrida].Corrida),
                                         Pista(APasso.Corridas[hipotese.Corrida]))
                                   : QStringLiteral("notas já tiradas");
        AExplicado.Linhas << Maiuscula(QStringLiteral("%1 %2 (%3).")
                                           .arg(quem(hipotese.Row, hipotese.Col),
                                                PodeSer(hipotese.Conjunto, run.Admite), origem));
    }

    const std::vector<TConjuntoDigitos>& servem = APasso.CombinacoesQueServem;
    const bool listaPreenchimentos =
        APasso.Raciocinio == TRaciocinio::Posicoes && !APasso.Preenchimentos.empty();
    if (!listaPreenchimentos && servem.size() < run.Combinacoes.size()) {
        if (servem.size() <= CMaxCombinacoesListadas) {
            AExplicado.Linhas << (servem.size() == 1 ? QStringLiteral("Só serve %1.")
                                                     : QStringLiteral("Só servem %1."))
                                     .arg(Enumerar(Combinacoes(servem), QStringLiteral("e")));
        } else {
            uint32_t digitos = 0;
            for (const TConjuntoDigitos c : servem)
                digitos |= c;
            AExplicado.Linhas << QStringLiteral("As combinações que servem só usam %1.")
                                     .arg(Enumerar(Digitos(digitos), QStringLiteral("e")));
        }
    }
    if (APasso.Raciocinio == TRaciocinio::Posicoes) {
        const QString nome = NomeDaCorrida(corrida);
        if (listaPreenchimentos) {
            QStringList maneiras;
            for (const auto& preenchimento : APasso.Preenchimentos) {
                QStringList digitos;
                for (int32_t k = 0; k < corrida.Comprimento; ++k)
                    digitos << QString::number(preenchimento[k]);
                maneiras << digitos.join(u' ');
            }
            const QString sentido = corrida.Horizontal
                                        ? QStringLiteral("da esquerda para a direita")
                                        : QStringLiteral("de cima para baixo");
            AExplicado.Linhas << (maneiras.size() == 1
                                      ? QStringLiteral("Só há uma maneira de a preencher (%1): %2.")
                                            .arg(sentido, maneiras.first())
                                      : QStringLiteral("Só há %1 maneiras de a preencher (%2): %3.")
                                            .arg(maneiras.size())
                                            .arg(sentido,
                                                 Enumerar(maneiras, QStringLiteral("ou"))));
        } else if (APasso.DigitoNumaSoCasa) {
            AExplicado.Linhas << QStringLiteral("O %1 tem de estar na %2 e só esta casa o aceita.")
                                     .arg(APasso.Digito)
                                     .arg(nome);
        } else if (abertas.size() == 2 && !fixa) {
            // Said with each removal below: what the other cell would have to be.
        } else if (fixa) {
            AExplicado.Linhas << QStringLiteral("Qualquer maneira de preencher a %1 com estas "
                                                "hipóteses põe o %2 nesta casa.")
                                     .arg(nome)
                                     .arg(APasso.Digito);
        } else {
            AExplicado.Linhas << QStringLiteral("Experimente as maneiras de preencher a %1 com "
                                                "estas hipóteses.")
                                     .arg(nome);
        }
    }

    if (fixa) {
        AExplicado.Linhas << QStringLiteral("Logo esta casa é %1.").arg(APasso.Digito);
        return;
    }
    bool primeira = true;
    for (const TRetiradaDoPasso& retirada : APasso.Retiradas) {
        const uint32_t retirados = retirada.Antes & ~retirada.Depois;
        QString frase = QStringLiteral("%1 não pode ser %2")
                            .arg(quem(retirada.Row, retirada.Col),
                                 Enumerar(Digitos(retirados), QStringLiteral("nem")));
        if (APasso.Raciocinio == TRaciocinio::Posicoes && !listaPreenchimentos &&
            abertas.size() == 2) {
            // Two empty cells share what the placed digits leave of the total: each digit here
            // asks for one there, which that cell cannot take.
            const auto& outra =
                abertas[0] == std::pair{retirada.Row, retirada.Col} ? abertas[1] : abertas[0];
            QStringList parceiros;
            for (const QString& digito : Digitos(retirados))
                parceiros << QString::number(resto - digito.toInt());
            frase += QStringLiteral(": a da %1 teria de ser %2")
                         .arg(LugarNaCorrida(corrida, outra.first, outra.second),
                              Enumerar(parceiros, QStringLiteral("ou")));
        }
        frase += u'.';
        AExplicado.Linhas << (primeira ? QStringLiteral("Logo, ") + frase : Maiuscula(frase));
        primeira = false;
    }
}

uint16_t NotasDe(const TSomadoBoard& ABoard, const std::vector<uint16_t>& ANotas, int32_t ARow,
                 int32_t ACol) {
    const auto N = static_cast<size_t>(ABoard.Size());
    return ANotas.size() == N * N ? ANotas[static_cast<size_t>(ARow) * N + ACol] : 0;
}

// The marks a removal rules out; a cell without marks gets what the step leaves it.
void NotasDaRetirada(const TSomadoBoard& ABoard, const std::vector<uint16_t>& ANotas,
                     TPassoExplicado& AExplicado) {
    bool algumaMarcada = false;
    for (const TRetiradaDoPasso& retirada : AExplicado.Deducao.Retiradas) {
        const uint16_t notas = NotasDe(ABoard, ANotas, retirada.Row, retirada.Col);
        const auto retirados = static_cast<uint16_t>(retirada.Antes & ~retirada.Depois);
        if (notas & CDigitos) {
            algumaMarcada = true;
            const auto depois = static_cast<uint16_t>(notas & ~retirados);
            if (depois != notas)
                AExplicado.NotasRetiradas.push_back({retirada.Row, retirada.Col, notas, depois});
        } else {
            AExplicado.NotasRetiradas.push_back(
                {retirada.Row, retirada.Col, notas, static_cast<uint16_t>(retirada.Depois)});
        }
    }
    if (algumaMarcada) AExplicado.Linhas << QStringLiteral("Retire essas notas.");
}

// The first digit in reading order that breaks a rule, and which.
bool ExplicarConflito(const TSomadoBoard& ABoard, TPassoExplicado& AExplicado) {
    const int32_t N = ABoard.Size();
    for (int32_t r = 0; r < N; ++r)
        for (int32_t c = 0; c < N; ++c) {
            if (!DigitoEmConflito(ABoard, r, c)) continue;
            const int32_t valor = ABoard.GetCell(r, c).Value;
            for (const bool horizontal : {true, false}) {
                const TCorridaDaCelula corrida = CorridaPor(ABoard, r, c, horizontal);
                int32_t total = 0, outra = -1;
                bool cheia = true;
                for (int32_t k = 0; k < corrida.Comprimento; ++k) {
                    const int32_t row = corrida.RowDe(k), col = corrida.ColDe(k);
                    const int32_t v = ABoard.GetCell(row, col).Value;
                    cheia = cheia && v != 0;
                    total += v;
                    if (v == valor && (row != r || col != c) && outra < 0) outra = k;
                }
                QString razao;
                if (outra >= 0)
                    razao = QStringLiteral("o %1 também está nesta %2, na %3;")
                                .arg(valor)
                                .arg(NomeDaCorrida(corrida),
                                     LugarNaCorrida(corrida, corrida.RowDe(outra),
                                                    corrida.ColDe(outra)));
                else if (cheia && corrida.Soma > 0 && total != corrida.Soma)
                    razao = QStringLiteral("a %1 está cheia e soma %2, mas a pista é %3;")
                                .arg(NomeDaCorrida(corrida))
                                .arg(total)
                                .arg(corrida.Soma);
                if (razao.isEmpty()) continue;
                AExplicado.Tipo = TTipo::Conflito;
                AExplicado.Row = r;
                AExplicado.Col = c;
                AExplicado.Corridas = {corrida};
                AExplicado.Linhas << Casa(r, c) << razao
                                  << (outra >= 0
                                          ? QStringLiteral(
                                                "numa sequência os dígitos não se repetem.")
                                          : QStringLiteral("algum destes dígitos está errado."));
                return true;
            }
        }
    return false;
}

bool HaDigitoErrado(const TSomadoBoard& ABoard) {
    const int32_t N = ABoard.Size();
    for (int32_t r = 0; r < N; ++r)
        for (int32_t c = 0; c < N; ++c) {
            if (!CelulaBranca(ABoard, r, c)) continue;
            const TSomadoCell cell = ABoard.GetCell(r, c);
            if (cell.Value != 0 && cell.Solution != 0 && cell.Value != cell.Solution) return true;
        }
    return false;
}

const QString& TextoVerificar() {
    static const QString texto = QStringLiteral("Use \"Verificar\" para ver onde.");
    return texto;
}

} // namespace

TPassoExplicado ExplicarPasso(const TSomadoBoard& ABoard, const std::vector<uint16_t>& ANotas) {
    TPassoExplicado explicado;
    if (ExplicarConflito(ABoard, explicado)) return explicado;
    if (HaDigitoErrado(ABoard)) {
        explicado.Tipo = TTipo::DigitoErrado;
        explicado.Linhas << QStringLiteral("Há pelo menos um dígito errado no tabuleiro.")
                         << TextoVerificar();
        return explicado;
    }

    explicado.Deducao = ProximoPasso(ABoard, ANotas);
    const TPassoDeducao& passo = explicado.Deducao;
    switch (passo.Raciocinio) {
    case TRaciocinio::Nenhum:
        switch (passo.SemPasso) {
        case TSemPasso::Resolvido:
            explicado.Linhas << QStringLiteral("O puzzle está resolvido: não há mais passos.");
            break;
        case TSemPasso::SemCasas:
            explicado.Linhas << QStringLiteral("Não há casas para preencher.");
            break;
        case TSemPasso::Contradicao:
            // Only without the solution at hand: with it, the wrong digit was found above.
            explicado.Tipo = TTipo::DigitoErrado;
            explicado.Linhas << QStringLiteral("Os dígitos do tabuleiro não deixam solução: há "
                                               "pelo menos um errado.")
                             << TextoVerificar();
            break;
        case TSemPasso::Bloqueado:
            explicado.Linhas << QStringLiteral("Não encontro mais nenhum passo com o raciocínio "
                                               "do nível %1.")
                                    .arg(QString::fromUtf8(NomeNivel(ABoard.Difficulty())));
            break;
        }
        return explicado;
    case TRaciocinio::Cruzamento:
        ExplicarCruzamento(passo, explicado);
        break;
    case TRaciocinio::Notas:
        ExplicarNotas(passo, explicado);
        break;
    case TRaciocinio::Combinacoes:
    case TRaciocinio::Posicoes:
        ExplicarRegra(ABoard, passo, explicado);
        break;
    }
    for (const TCorridaDoPasso& corrida : passo.Corridas)
        explicado.Corridas.push_back(corrida.Corrida);
    if (passo.Digito != 0) {
        explicado.Tipo = TTipo::FixaCelula;
        explicado.Row = passo.Row;
        explicado.Col = passo.Col;
        explicado.Digito = passo.Digito;
    } else {
        explicado.Tipo = TTipo::RetiraCandidatos;
        explicado.Row = passo.Retiradas.front().Row;
        explicado.Col = passo.Retiradas.front().Col;
        NotasDaRetirada(ABoard, ANotas, explicado);
    }
    return explicado;
}

std::vector<TMudancaNotas> CandidatosDasCorridas(const TSomadoBoard& ABoard,
                                                 const std::vector<uint16_t>& ANotas) {
    const std::vector<TConjuntoDigitos> candidatos = CandidatosPelasCorridas(ABoard);
    std::vector<TMudancaNotas> mudancas;
    const int32_t N = ABoard.Size();
    for (int32_t r = 0; r < N; ++r)
        for (int32_t c = 0; c < N; ++c) {
            if (!CelulaBranca(ABoard, r, c) || ABoard.GetCell(r, c).Value != 0) continue;
            const uint16_t antes = NotasDe(ABoard, ANotas, r, c);
            const uint16_t depois = candidatos[static_cast<size_t>(r) * N + c];
            if (antes != depois) mudancas.push_back({r, c, antes, depois});
        }
    return mudancas;
}
