# Sourced by the end-to-end scripts that hold one program's pictures
# against another's: peak signal to noise ratios and their bounds.

# Peak signal to noise ratio of two pictures in dB ("inf" when identical).
psnr() { compare -metric PSNR "$1" "$2" null: 2>&1; }
at_least() { awk -v p="$1" -v m="$2" 'BEGIN { exit !(p == "inf" || (p ~ /^[0-9.]+$/ && p + 0 >= m)) }'; }
below() { awk -v p="$1" -v m="$2" 'BEGIN { exit !(p ~ /^[0-9.]+$/ && (m == "inf" || p + 0 < m + 0)) }'; }
minus() { awk -v p="$1" -v d="$2" 'BEGIN { print (p == "inf") ? "inf" : p - d }'; }

# glow_checks NAME PREFIX BOUND TIME...: each still PREFIX-T.png lies within
# BOUND dB of the desktop program's glx-T.png, and is at least 10 dB nearer
# to it than to flat-T.png, the still without the glow (dark scenes, whose
# glow is faint, included).
glow_checks() {
    local name=$1 prefix=$2 bound=$3 t p flat
    for t in "${@:4}"; do
        p=$(psnr "$prefix-$t.png" "glx-$t.png") flat=$(psnr "$prefix-$t.png" "flat-$t.png")
        echo "$t s: $name against desktop GL $p dB, against no glow $flat dB"
        check "$name still at $t s within $bound dB of desktop GL" at_least "$p" "$bound"
        check "$name still at $t s has the glow" below "$flat" "$(minus "$p" 10)"
    done
}
