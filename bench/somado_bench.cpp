// somado-bench: runs GerarPuzzle a number of times and reports how long it takes.
//   somado-bench --size N --level L --count K [--budget MS] [--seed S] [--save DIR]
//                [--threads T]
#include "generator/GeradorInterno.h"
#include "io/GravacaoSegura.h"
#include "io/UnitSomadoFicheiro.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

const char* const CUso =
    "uso: somado-bench --size N --level L --count K [--budget MS] [--seed S] [--save DIR]\n"
    "                  [--threads T]\n"
    "  N: 6 9 12 15 16 20 25\n"
    "  L: facil medio dificil muito-dificil (ou 0..3)\n"
    "  MS: orçamento por puzzle em milissegundos (por omissão 30000; 75000 para 12 e 15;\n"
    "      0 sem limite)\n"
    "  S: semente do gerador aleatório, para repetir exatamente uma série (por omissão, o "
    "relógio)\n"
    "  DIR: pasta onde cada puzzle gerado é gravado como ficheiro .smd\n"
    "  T: threads de trabalho (por omissão, uma por núcleo); a mesma semente dá os mesmos\n"
    "     puzzles com qualquer número de threads\n";

std::optional<TTamanhoTabuleiro> TamanhoDoLado(int ALado) {
    for (int t = 0; t <= static_cast<int>(TTamanhoTabuleiro::tt16); ++t)
        if (LadoDoTabuleiro(static_cast<TTamanhoTabuleiro>(t)) == ALado)
            return static_cast<TTamanhoTabuleiro>(t);
    return std::nullopt;
}

std::optional<TNivelDificuldade> NivelDoTexto(const std::string& ATexto) {
    const char* nomes[] = {"facil", "medio", "dificil", "muito-dificil"};
    for (int n = 0; n < 4; ++n)
        if (ATexto == nomes[n] || ATexto == std::to_string(n))
            return static_cast<TNivelDificuldade>(n);
    return std::nullopt;
}

const char* NomeDoNivel(TNivelDificuldade ANivel) {
    const char* nomes[] = {"Fácil", "Médio", "Difícil", "Muito Difícil"};
    return nomes[static_cast<int>(ANivel)];
}

double Percentil(std::vector<double> AValores, double AFracao) {
    if (AValores.empty()) return 0;
    std::sort(AValores.begin(), AValores.end());
    // Nearest rank: the smallest value with at least AFracao of the values at or below it.
    size_t posicao = static_cast<size_t>(AFracao * static_cast<double>(AValores.size()) + 0.999999);
    posicao = std::clamp<size_t>(posicao, 1, AValores.size());
    return AValores[posicao - 1];
}

[[noreturn]] void Falhar(const char* AMensagem) {
    std::fprintf(stderr, "somado-bench: %s\n%s", AMensagem, CUso);
    std::exit(2);
}

// Writes the puzzle under the first free name in the folder. Each name is created only if
// nobody has it, in one step, so two runs into one folder take turns instead of writing over
// each other's puzzles.
QString GravarComNomeLivre(const QDir& APasta, int ALado, TNivelDificuldade ANivel,
                           const TSomadoBoard& ABoard) {
    const char* nomes[] = {"facil", "medio", "dificil", "muito-dificil"};
    const QByteArray texto = TextoDoPuzzle(ABoard);
    for (int n = 1;; ++n) {
        const QString caminho = APasta.filePath(QString("somado-%1x%1-%2-%3.smd")
                                                    .arg(ALado)
                                                    .arg(nomes[static_cast<int>(ANivel)])
                                                    .arg(n, 4, 10, QChar(u'0')));
        if (CriarFicheiroNovo(caminho, texto)) return caminho;
    }
}

} // namespace

int main(int argc, char** argv) {
    std::optional<TTamanhoTabuleiro> tamanho;
    std::optional<TNivelDificuldade> nivel;
    long contagem = 0;
    std::optional<long long> orcamento;
    std::optional<unsigned long long> semente;
    std::string pasta;
    long threads = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string opcao = argv[i];
        if (opcao == "--help" || opcao == "-h") {
            std::fputs(CUso, stdout);
            return 0;
        }
        if (i + 1 >= argc) Falhar(("falta o valor de " + opcao).c_str());
        const std::string valor = argv[++i];
        char* fim = nullptr;
        if (opcao == "--size") {
            const long lado = std::strtol(valor.c_str(), &fim, 10);
            tamanho = *fim ? std::nullopt : TamanhoDoLado(static_cast<int>(lado));
            if (!tamanho) Falhar("tamanho inválido");
        } else if (opcao == "--level") {
            nivel = NivelDoTexto(valor);
            if (!nivel) Falhar("nível inválido");
        } else if (opcao == "--count") {
            contagem = std::strtol(valor.c_str(), &fim, 10);
            if (*fim || contagem < 1) Falhar("contagem inválida");
        } else if (opcao == "--budget") {
            orcamento = std::strtoll(valor.c_str(), &fim, 10);
            if (valor.empty() || *fim || *orcamento < 0) Falhar("orçamento inválido");
        } else if (opcao == "--seed") {
            semente = std::strtoull(valor.c_str(), &fim, 10);
            if (valor.empty() || valor[0] == '-' || *fim) Falhar("semente inválida");
        } else if (opcao == "--threads") {
            threads = std::strtol(valor.c_str(), &fim, 10);
            if (*fim || threads < 1 || threads > 1024) Falhar("número de threads inválido");
        } else if (opcao == "--save") {
            pasta = valor;
        } else {
            Falhar(("opção desconhecida: " + opcao).c_str());
        }
    }
    if (!tamanho || !nivel || contagem < 1) Falhar("faltam --size, --level ou --count");
    const int lado = LadoDoTabuleiro(*tamanho);
    if (!orcamento) orcamento = (lado == 12 || lado == 15) ? 75000 : 30000;

    QDir destino;
    if (!pasta.empty()) {
        destino = QDir(QString::fromStdString(pasta));
        if (!destino.exists() && !QDir().mkpath(destino.path()))
            Falhar("não foi possível criar a pasta");
    }

    // Puzzle n draws from a stream made from the seed and n, as a batch's puzzles do: the
    // same seed gives the same puzzles whatever the number of threads.
    if (!semente) {
        SemearAleatorio();
        semente = AleatorioDoProcesso().Proximo();
    }
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min(threads, contagem);

    struct TResultado {
        std::unique_ptr<TSomadoBoard> Board;
        double Segundos = 0;
        int64_t Chamadas = 0;
    };
    std::vector<TResultado> resultados(static_cast<size_t>(contagem));
    std::atomic<long> proximo{0};
    const auto inicio = std::chrono::steady_clock::now();
    {
        std::vector<std::jthread> trabalhadores;
        for (long t = 0; t < threads; ++t)
            trabalhadores.emplace_back([&] {
                for (long k; (k = proximo.fetch_add(1)) < contagem;) {
                    const auto antes = std::chrono::steady_clock::now();
                    // A context of its own for every puzzle, as the program's calls have.
                    TContextoGeracao contexto(
                        TAleatorio::DoPuzzle(*semente, static_cast<uint64_t>(k)));
                    TResultado& r = resultados[static_cast<size_t>(k)];
                    r.Board = GerarPuzzleNoContexto(*tamanho, *nivel, *orcamento, contexto);
                    r.Chamadas = contexto.ChamadasContarIndeterminadas;
                    r.Segundos =
                        std::chrono::duration<double>(std::chrono::steady_clock::now() - antes)
                            .count();
                }
            });
    }
    const double total =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();

    std::vector<double> tempos;
    int sucessos = 0;
    int64_t chamadas = 0;
    for (long n = 1; n <= contagem; ++n) {
        const TResultado& r = resultados[static_cast<size_t>(n - 1)];
        const double segundos = r.Segundos;
        chamadas += r.Chamadas;
        tempos.push_back(segundos);
        const std::unique_ptr<TSomadoBoard>& board = r.Board;
        if (!board) {
            std::printf("%3ld  nenhum   %8.3f s\n", n, segundos);
            continue;
        }
        ++sucessos;
        std::printf("%3ld  sucesso  %8.3f s  %-13s  score %d", n, segundos,
                    NomeDoNivel(board->Difficulty()), board->DifficultyScore());
        if (!pasta.empty()) {
            try {
                const QString caminho = GravarComNomeLivre(destino, lado, *nivel, *board);
                std::printf("  %s", caminho.toStdString().c_str());
            } catch (const ESomadoError& e) {
                std::fprintf(stderr, "\nsomado-bench: %s\n", e.what());
                return 1;
            }
        }
        std::printf("\n");
    }
    std::printf("\n%dx%d %s, orçamento %lld ms: sucesso %d/%ld (%.0f %%)\n", lado, lado,
                NomeDoNivel(*nivel), *orcamento, sucessos, contagem,
                100.0 * sucessos / static_cast<double>(contagem));
    std::printf("tempo: mediana %.3f s, p90 %.3f s, máximo %.3f s\n", Percentil(tempos, 0.5),
                Percentil(tempos, 0.9), *std::max_element(tempos.begin(), tempos.end()));
    std::printf("semente %llu, %ld threads: %.2f s ao todo\n",
                static_cast<unsigned long long>(*semente), threads, total);
    std::printf("ContarIndeterminadas: %lld chamadas, %.0f por segundo\n",
                static_cast<long long>(chamadas),
                total > 0 ? static_cast<double>(chamadas) / total : 0.0);
    // A report that could not be written (a full disk, a closed pipe) is a failed run.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "somado-bench: não foi possível escrever o relatório\n");
        return 1;
    }
    return 0;
}
