# shellcheck shell=bash
# The tools' runs that must fail, from outside: each line of a table is a command line with
# the exit status it must end with and the message it must give. Sourced by the tools' tests.
#
#   correr_casos FERRAMENTA PASTA < TABELA
#
# A line of the table holds, separated by spaces, then "|" and the message:
#   ESTADO  the exit status: 0, 1 (the run failed) or 2 (a mistake on the command line)
#   CANAL   where the message goes: saida or erros
#   ANTES   "antes" when the run must fail before its first puzzle (nothing on the standard
#           output), "-" otherwise
#   MEIO    where the run happens: "-" as it is; "so-leitura" with {p}/montagem a read-only
#           disk; "cheio:TAMANHO" with {p}/montagem a disk of TAMANHO (4k, 16k…); "outro" as a
#           user other than root, for whom a folder of mode 0555 is closed; "relatorio-cheio"
#           with the standard output on /dev/full
#   ARGUMENTOS…
# {p} stands for PASTA. A case the machine cannot stage is skipped, with the reason. Sets
# falhas to the number of cases that failed.

falhas=${falhas:-0}
falhou() {
  echo "FALHOU: $*"
  falhas=$((falhas + 1))
}

# Mounts need a mount namespace of one's own, which an unprivileged user namespace gives
# where the kernel allows it; root is no help here (a folder's mode does not stop root).
montagens_possiveis() {
  mkdir -p "$1/montagem"
  # shellcheck disable=SC2016 # expanded by the inner shell
  unshare -rm sh -c 'mount -t tmpfs -o ro,size=4k none "$1"' sh "$1/montagem" 2>/dev/null
}

outro_utilizador_possivel() {
  [ "$(id -u)" -ne 0 ] && return 0
  command -v setpriv >/dev/null &&
    setpriv --reuid=65534 --regid=65534 --clear-groups test -x "$1" 2>/dev/null
}

correr_casos() {
  local ferramenta=$1 pasta=$2 linha campos texto estado canal antes meio nome obtido
  local -a argumentos prefixo
  local montar=0 outro=0
  montagens_possiveis "$pasta" && montar=1
  outro_utilizador_possivel "$ferramenta" && outro=1
  while IFS= read -r linha; do
    [[ -z "${linha// /}" || "$linha" == \#* ]] && continue
    campos=${linha%%|*}
    texto=${linha#*|}
    texto=${texto# }
    texto=${texto//\{p\}/$pasta}
    campos=${campos//\{p\}/$pasta}
    read -r estado canal antes meio campos <<<"$campos"
    read -r -a argumentos <<<"$campos"
    nome="$(basename "$ferramenta") ${argumentos[*]} [$meio]"
    prefixo=()
    local destino_saida="$pasta/saida"
    case $meio in
    -) ;;
    so-leitura | cheio:*)
      if [ "$montar" -eq 0 ]; then
        echo "saltado: $nome (não se pode montar um disco sem privilégios aqui)"
        continue
      fi
      local opcoes="ro,size=64k"
      [ "$meio" = so-leitura ] || opcoes="size=${meio#cheio:}"
      # shellcheck disable=SC2016 # expanded by the inner shell
      prefixo=(unshare -rm sh -c 'mount -t tmpfs -o "$1" none "$2" && shift 2 && exec "$@"'
        sh "$opcoes" "$pasta/montagem")
      ;;
    outro)
      if [ "$outro" -eq 0 ]; then
        echo "saltado: $nome (como root, e sem setpriv para correr como outro utilizador)"
        continue
      fi
      [ "$(id -u)" -eq 0 ] && prefixo=(setpriv --reuid=65534 --regid=65534 --clear-groups)
      ;;
    relatorio-cheio) destino_saida=/dev/full ;;
    *)
      falhou "$nome: meio desconhecido"
      continue
      ;;
    esac
    : >"$pasta/saida"
    timeout 20 "${prefixo[@]}" "$ferramenta" "${argumentos[@]}" >"$destino_saida" \
      2>"$pasta/erros"
    obtido=$?
    if [ "$obtido" -ne "$estado" ]; then
      falhou "$nome: terminou com $obtido, não $estado: $(head -c 600 "$pasta/erros")"
      continue
    fi
    grep -qF -- "$texto" "$pasta/$canal" ||
      falhou "$nome: sem \"$texto\" em $canal: $(head -c 600 "$pasta/$canal")"
    # A mistake on the command line shows the usage with it.
    if [ "$estado" -eq 2 ]; then
      grep -q "^uso: " "$pasta/erros" || falhou "$nome: sem o uso no erro padrão"
    fi
    if [ "$antes" = antes ] && [ -s "$pasta/saida" ]; then
      falhou "$nome: só falhou depois de gerar: $(head -c 300 "$pasta/saida")"
    fi
  done
}
