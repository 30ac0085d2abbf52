// somado-bench: runs GerarPuzzle a number of times and reports how long each took and the
// processor time they took together.
//   somado-bench --size N --level L --count K [--budget MS] [--seed S] [--save DIR]
//                [--threads T]
#include "PastaDeDestino.h"

#include "generator/GeradorInterno.h"
#include "io/GravacaoSegura.h"
#include "io/UnitSomadoFicheiro.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <exception>
#include <iterator>
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
    "  T: threads que trabalham em cada puzzle, um puzzle de cada vez (por omissão, uma por\n"
    "     núcleo); a mesma semente dá os mesmos puzzles com qualquer número de threads\n";

std::optional<TTamanhoTabuleiro> TamanhoDoLado(int ALado) {
    for (int t = 0; t <= static_cast<int>(TTamanhoTabuleiro::tt16); ++t)
        if (LadoDoTabuleiro(static_cast<TTamanhoTabuleiro>(t)) == ALado)
            return static_cast<TTamanhoTabuleiro>(t);
    return std::nullopt;
}

// The levels as --level and the saved files' names spell them.
const char* const CNomesDosNiveis[] = {"facil", "medio", "dificil", "muito-dificil"};

std::optional<TNivelDificuldade> NivelDoTexto(const std::string& ATexto) {
    for (int n = 0; n < 4; ++n)
        if (ATexto == CNomesDosNiveis[n] || ATexto == std::to_string(n))
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

// A mistake on the command line: the usage, and status 2.
[[noreturn]] void Falhar(const std::string& AMensagem) {
    std::fprintf(stderr, "somado-bench: %s\n%s", AMensagem.c_str(), CUso);
    std::exit(2);
}

// A run that cannot go on: the reason, and status 1.
int FalharNaExecucao(const std::string& AMensagem) {
    std::fprintf(stderr, "somado-bench: %s\n", AMensagem.c_str());
    return 1;
}

QString NomeDoPuzzle(const QDir& APasta, int ALado, TNivelDificuldade ANivel, long ANumero) {
    return APasta.filePath(QString("somado-%1x%1-%2-%3.smd")
                               .arg(ALado)
                               .arg(CNomesDosNiveis[static_cast<int>(ANivel)])
                               .arg(ANumero, 4, 10, QChar(u'0')));
}

// Writes the puzzle under the first free name in the folder from ANumero on, and leaves
// ANumero at the name taken, so that a long run does not look at its own files again. Each
// name is created only if nobody has it, in one step, so two runs into one folder take turns
// instead of writing over each other's puzzles.
QString GravarComNomeLivre(const QDir& APasta, int ALado, TNivelDificuldade ANivel,
                           const TSomadoBoard& ABoard, long& ANumero) {
    const QByteArray texto = TextoDoPuzzle(ABoard);
    for (;; ++ANumero) {
        const QString caminho = NomeDoPuzzle(APasta, ALado, ANivel, ANumero);
        if (CriarFicheiroNovo(caminho, texto)) return caminho;
    }
}

// The wall time of one generation on ANucleos idle cores, from the times of its attempts made
// one after another: each core takes the next attempt as it becomes free, and the generation
// ends when the last attempt up to the deciding one ends (those above it are cut at once). A
// generation whose budget ran out would have made more attempts on more cores: there the
// figure is only a guide.
double TempoEmNucleos(const std::vector<double>& ATentativas, int ANucleos) {
    std::vector<double> livre(static_cast<size_t>(ANucleos), 0.0);
    double fim = 0;
    for (const double segundos : ATentativas) {
        const auto primeiro = std::min_element(livre.begin(), livre.end());
        *primeiro += segundos;
        fim = std::max(fim, *primeiro);
    }
    return fim;
}

// Writes the line now: a long run shows its progress, and a report that cannot be written
// (a full disk, a closed pipe) stops the run instead of the work going on unseen.
bool Escrever() {
    return std::fflush(stdout) == 0 && !std::ferror(stdout);
}

} // namespace

int main(int argc, char** argv) {
    std::optional<TTamanhoTabuleiro> tamanho;
    std::optional<TNivelDificuldade> nivel;
    long contagem = 0;
    std::optional<long long> orcamento;
    std::optional<unsigned long long> semente;
    std::optional<std::string> pasta;
    long threads = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string opcao = argv[i];
        if (opcao == "--help" || opcao == "-h") {
            std::fputs(CUso, stdout);
            return Escrever() ? 0 : FalharNaExecucao("não foi possível escrever a ajuda");
        }
        if (i + 1 >= argc) Falhar("falta o valor de " + opcao);
        const std::string valor = argv[++i];
        char* fim = nullptr;
        errno = 0;
        if (opcao == "--size") {
            const long lado = std::strtol(valor.c_str(), &fim, 10);
            tamanho = *fim ? std::nullopt : TamanhoDoLado(static_cast<int>(lado));
            if (!tamanho) Falhar("tamanho inválido");
        } else if (opcao == "--level") {
            nivel = NivelDoTexto(valor);
            if (!nivel) Falhar("nível inválido");
        } else if (opcao == "--count") {
            contagem = std::strtol(valor.c_str(), &fim, 10);
            if (valor.empty() || *fim || errno == ERANGE || contagem < 1)
                Falhar("contagem inválida");
        } else if (opcao == "--budget") {
            orcamento = std::strtoll(valor.c_str(), &fim, 10);
            if (valor.empty() || *fim || errno == ERANGE || *orcamento < 0)
                Falhar("orçamento inválido");
        } else if (opcao == "--seed") {
            semente = std::strtoull(valor.c_str(), &fim, 10);
            if (valor.empty() || valor[0] == '-' || *fim || errno == ERANGE)
                Falhar("semente inválida");
        } else if (opcao == "--threads") {
            threads = std::strtol(valor.c_str(), &fim, 10);
            if (valor.empty() || *fim || threads < 1 || threads > 1024)
                Falhar("número de threads inválido");
        } else if (opcao == "--save") {
            pasta = valor;
        } else {
            Falhar("opção desconhecida: " + opcao);
        }
    }
    if (!tamanho || !nivel || contagem < 1) Falhar("faltam --size, --level ou --count");
    const int lado = LadoDoTabuleiro(*tamanho);
    if (!orcamento) orcamento = (lado == 12 || lado == 15) ? 75000 : 30000;

    // The folder is made and tried before the first puzzle: a run that cannot save fails at
    // once, not after hours of generation.
    QDir destino;
    long numeroLivre = 1;
    if (pasta) {
        try {
            destino = CriarPastaDeDestino(QFile::decodeName(QByteArray::fromStdString(*pasta)));
            while (QFileInfo::exists(NomeDoPuzzle(destino, lado, *nivel, numeroLivre)))
                ++numeroLivre;
            VerificarDestino(NomeDoPuzzle(destino, lado, *nivel, numeroLivre));
        } catch (const ESomadoError& e) {
            return FalharNaExecucao(e.what());
        }
    }

    // Puzzle n draws its generation's seed from a stream made from the seed and n, as a
    // batch's puzzles do: the same seed gives the same puzzles whatever the number of threads.
    if (!semente) {
        SemearAleatorio();
        semente = AleatorioDoProcesso().Proximo();
    }
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());

    // Every time is kept for the percentiles: a few bytes per puzzle actually made.
    std::vector<double> tempos;
    const int CNucleosSimulados[] = {2, 4, 8};
    std::vector<double> simulados[std::size(CNucleosSimulados)];
    long sucessos = 0;
    int64_t chamadas = 0;
    std::string falha;
    const std::atomic<bool> nunca{false};
    const std::clock_t processadorAntes = std::clock();
    // The generation's wall time, as if nothing were saved or printed meanwhile.
    double total = 0;
    for (long n = 1; n <= contagem && falha.empty(); ++n) {
        // One puzzle at a time, each on all the threads: the time a player waits for it.
        TAleatorio fluxo = TAleatorio::DoPuzzle(*semente, static_cast<uint64_t>(n - 1));
        TEstatisticasGeracao estatisticas;
        std::unique_ptr<TSomadoBoard> board;
        const auto antes = std::chrono::steady_clock::now();
        try {
            board = GerarPuzzleEmParalelo(*tamanho, *nivel, *orcamento, fluxo.Proximo(),
                                          static_cast<int32_t>(threads), nunca, &estatisticas);
        } catch (const std::exception& e) {
            falha = e.what();
            break;
        }
        const double segundos =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - antes).count();
        total += segundos;
        chamadas += estatisticas.ChamadasContarIndeterminadas;
        tempos.push_back(segundos);
        // Made one attempt after another, the attempts' times tell what more cores would take.
        if (threads == 1)
            for (size_t i = 0; i < std::size(CNucleosSimulados); ++i)
                simulados[i].push_back(
                    TempoEmNucleos(estatisticas.SegundosPorTentativa, CNucleosSimulados[i]));
        if (!board) {
            std::printf("%3ld  nenhum   %8.3f s\n", n, segundos);
        } else {
            ++sucessos;
            std::printf("%3ld  sucesso  %8.3f s  %-13s  score %d", n, segundos,
                        NomeDoNivel(board->Difficulty()), board->DifficultyScore());
            if (pasta) {
                try {
                    const QString caminho =
                        GravarComNomeLivre(destino, lado, *nivel, *board, numeroLivre);
                    std::printf("  %s", caminho.toStdString().c_str());
                } catch (const ESomadoError& e) {
                    std::printf("\n");
                    falha = e.what();
                    break;
                }
            }
            std::printf("\n");
        }
        if (!Escrever()) falha = "não foi possível escrever o relatório";
    }
    const double processador =
        static_cast<double>(std::clock() - processadorAntes) / CLOCKS_PER_SEC;
    if (!falha.empty()) {
        std::fflush(stdout);
        return FalharNaExecucao(falha);
    }
    std::printf("\n%dx%d %s, orçamento %lld ms: sucesso %ld/%ld (%.0f %%)\n", lado, lado,
                NomeDoNivel(*nivel), *orcamento, sucessos, contagem,
                100.0 * static_cast<double>(sucessos) / static_cast<double>(contagem));
    std::printf("tempo: mediana %.3f s, p90 %.3f s, máximo %.3f s\n", Percentil(tempos, 0.5),
                Percentil(tempos, 0.9), *std::max_element(tempos.begin(), tempos.end()));
    for (size_t i = 0; i < std::size(CNucleosSimulados) && threads == 1; ++i)
        std::printf(
            "com %d núcleos livres (dos tempos das tentativas): mediana %.3f s, p90 %.3f s, "
            "máximo %.3f s\n",
            CNucleosSimulados[i], Percentil(simulados[i], 0.5), Percentil(simulados[i], 0.9),
            *std::max_element(simulados[i].begin(), simulados[i].end()));
    std::printf("semente %llu, %ld threads: %.2f s ao todo\n",
                static_cast<unsigned long long>(*semente), threads, total);
    std::printf("processador: %.2f s, %.4f s por puzzle\n", processador,
                processador / static_cast<double>(contagem));
    std::printf("ContarIndeterminadas: %lld chamadas, %.0f por segundo de processador\n",
                static_cast<long long>(chamadas),
                processador > 0 ? static_cast<double>(chamadas) / processador : 0.0);
    if (!Escrever()) return FalharNaExecucao("não foi possível escrever o relatório");
    return 0;
}
