#!/usr/bin/env bash
# Regenerates the pictures of Vornik: program icon, banners, report logo.
# Needs ImageMagick (convert) and the DejaVu fonts (Debian: fonts-dejavu-core).
# Run from anywhere; outputs are written next to this script. Safe to re-run.
set -euo pipefail

HERE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
cd "$HERE"

command -v convert >/dev/null || { echo "ImageMagick 'convert' not found" >&2; exit 1; }

find_font() {   # $1 = fontconfig pattern, $2 = usual Debian path
    if [ -f "$2" ]; then echo "$2"; return; fi
    local f; f="$(fc-match -f '%{file}' "$1" 2>/dev/null || true)"
    [ -n "$f" ] && [ -f "$f" ] || { echo "font '$1' not found (install fonts-dejavu-core)" >&2; exit 1; }
    echo "$f"
}
FONT="$(find_font 'DejaVu Sans' /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf)"
FONTB="$(find_font 'DejaVu Sans:bold' /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf)"
FONTM="$(find_font 'DejaVu Sans Mono' /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf)"

TMP="$(mktemp -d)"
trap 'rm -rf "$TMP"' EXIT

# Deterministic output: no timestamps or other metadata in the files.
PNGOPT=(-strip -define png:exclude-chunks=date,time)
JPGOPT=(-strip -interlace none -sampling-factor 2x2 -quality 85)

mkdir -p ban otchet

# ---------------------------------------------------------------- icon ----
# Motif: a blue rounded square with a green "up" arrow (sent) and a yellow
# "down" arrow (received). Drawn on a 256 px canvas, then scaled down.
# $1 = output png (256x256, RGBA); $2 = half width of the arrow shafts,
# $3 = half width of the arrow heads (the 16 px frame uses bolder arrows).
icon_master() {
    local o="$1" sw="$2" hw="$3"
    local ux=86 dx=170                  # centres of the up and down arrows
    local top=38 bot=218 neck=120 dneck=136
    local up="polygon $((ux-hw)),$neck $ux,$top $((ux+hw)),$neck $((ux+sw)),$neck $((ux+sw)),$bot $((ux-sw)),$bot $((ux-sw)),$neck"
    local dn="polygon $((dx-sw)),$top $((dx+sw)),$top $((dx+sw)),$dneck $((dx+hw)),$dneck $dx,$bot $((dx-hw)),$dneck $((dx-sw)),$dneck"
    convert -size 256x256 gradient:'#3d8ff0-#0b3f8c' \
        \( -size 256x256 xc:none -fill white \
           -draw 'roundrectangle 6,6 249,249 52,52' \) \
        -alpha off -compose CopyOpacity -composite -compose Over \
        -fill none -stroke '#082f6b' -strokewidth 6 \
        -draw 'roundrectangle 6,6 249,249 52,52' \
        -stroke '#062a5e' -strokewidth 10 \
        -fill '#062a5e' -draw "$up" -draw "$dn" -stroke none \
        -fill '#7dff5c' -draw "$up" \
        -fill '#ffd43a' -draw "$dn" \
        "${PNGOPT[@]}" PNG32:"$o"
}
icon_master "$TMP/icon256.png" 16 48
icon_master "$TMP/icon256b.png" 22 56
convert "$TMP/icon256b.png" -filter Lanczos -resize 16x16 "${PNGOPT[@]}" PNG32:"$TMP/icon16.png"
for s in 32 48; do
    convert "$TMP/icon256.png" -filter Lanczos -resize "${s}x${s}" \
        "${PNGOPT[@]}" PNG32:"$TMP/icon$s.png"
done
convert "$TMP/icon16.png" "$TMP/icon32.png" "$TMP/icon48.png" -strip vrn15.ico

# ------------------------------------------------------------- banners ----
W=728; H=60

textw() {   # $1 = font, $2 = point size, $3 = text -> width in pixels
    convert -font "$1" -pointsize "$2" label:"$3" -format '%w' info:
}

# One banner: a light vertical gradient with a thin frame, a picture on the
# left (drawn by the convert options in the array MOTIF), a bold title, a
# thin separator and two short lines of explanation.
# $1 output  $2 top colour  $3 bottom colour  $4 frame colour
# $5 title colour  $6 text colour  $7 title x  $8 title point size
# $9 title  $10 first line  $11 second line
banner() {
    local out="$1" c1="$2" c2="$3" cf="$4" ct="$5" cs="$6" x0="$7" pt="$8"
    local title="$9" l1="${10}" l2="${11}"
    local tw sw1 sw2 sx
    tw="$(textw "$FONTB" "$pt" "$title")"
    sw1="$(textw "$FONT" 14 "$l1")"; sw2="$(textw "$FONT" 14 "$l2")"
    sx=$((x0 + tw + 26))
    local sw=$(( sw1 > sw2 ? sw1 : sw2 ))
    if (( sx + sw > W - 8 )); then
        echo "banner $out: text does not fit ($((sx + sw)) > $((W - 8)))" >&2; exit 1
    fi
    convert -size ${W}x${H} gradient:"$c1-$c2" \
        -fill none -stroke "$cf" -strokewidth 2 \
        -draw "rectangle 1,1 $((W-2)),$((H-2))" -stroke none \
        "${MOTIF[@]}" \
        -font "$FONTB" -pointsize "$pt" -fill "$ct" \
        -annotate +"$x0"+$((30 + pt * 36 / 100)) "$title" \
        -fill "$cf" -draw "rectangle $((sx-13)),13 $((sx-12)),47" \
        -font "$FONT" -pointsize 14 -fill "$cs" \
        -annotate +"$sx"+27 "$l1" -annotate +"$sx"+46 "$l2" \
        "${JPGOPT[@]}" "$out"
}

convert "$TMP/icon256.png" -filter Lanczos -resize 44x44 "$TMP/icon44.png"

# ban0000: start-up picture with the program name.
MOTIF=("$TMP/icon44.png" -geometry +14+8 -composite)
banner ban/ban0000.jpg '#ffffff' '#dce9fb' '#7fa6dc' '#0b3f8c' '#34506f' 70 30 \
    'Vornik V1.5' 'учёт сетевого трафика и его стоимости' \
    'по каждому соединению и по дням'

# ban0001: name and purpose.
MOTIF=("$TMP/icon44.png" -geometry +14+8 -composite)
banner ban/ban0001.jpg '#f4fbff' '#cfe6f7' '#6aa0c8' '#0b3f8c' '#2f4b66' 70 26 \
    'Vornik — учёт трафика' 'Сколько принято и отправлено' \
    'за сегодня и за всё время'

# ban0002: "every megabyte", with a small bar chart.
bars=""; x=18
for h in 12 22 16 30 25 38 20 34; do
    bars+="rectangle $x,$((50-h)) $((x+8)),50 "; x=$((x+12))
done
MOTIF=(-fill '#5aa832' -draw "$bars" -fill '#3f7a22' -draw 'rectangle 14,50 114,51')
banner ban/ban0002.jpg '#fbfff6' '#dcf2c9' '#86b85f' '#2d5e14' '#3c4f2e' 128 24 \
    'Считает каждый мегабайт' 'Данные берутся' 'из счётчиков Windows'

# ban0003: per-connection tariffs, with a rouble coin.
MOTIF=(-fill '#e39b2c' -stroke '#a9681a' -strokewidth 2 -draw 'circle 36,30 36,9'
       -stroke none -font "$FONTB" -pointsize 26 -fill white -annotate +27+40 '₽')
banner ban/ban0003.jpg '#fffaf0' '#f7e3bf' '#d0a25a' '#7a4a0c' '#5a4326' 68 22 \
    'Тарифы для каждого соединения' 'Цена за 1 МБ:' 'вход и исход отдельно'

# ban0004: the informer, with a sketch of its small window.
MOTIF=(-fill white -stroke '#6b5cb5' -strokewidth 1 -draw 'rectangle 10,8 124,52'
       -stroke none -fill '#6b5cb5' -draw 'rectangle 10,8 124,16'
       -font "$FONTM" -pointsize 9 -fill '#333344'
       -annotate +14+27 'LAN   512 МБ  46 ₽'
       -annotate +14+38 'Wi-Fi 128 МБ  12 ₽'
       -annotate +14+49 '3G     24 МБ   9 ₽')
banner ban/ban0004.jpg '#f8f6ff' '#e0daf7' '#9a8dd0' '#3d2f8a' '#433a63' 136 22 \
    'Информер всегда под рукой' 'Трафик, сумма, скорость' 'поверх всех окон'

# ---------------------------------------------------------- report logo ---
# 380x45, transparent background: icon, name, separator, two-line tagline.
lw="$(textw "$FONTB" 24 'Vornik V1.5')"
lx=$((50 + lw + 12))
tl1='учёт трафика по дням'; tl2='и его стоимости'
t1="$(textw "$FONT" 12 "$tl1")"; t2="$(textw "$FONT" 12 "$tl2")"
if (( lx + 10 + (t1 > t2 ? t1 : t2) > 378 )); then
    echo "logo: text does not fit" >&2; exit 1
fi
convert -size 380x45 xc:none \
    \( "$TMP/icon256.png" -filter Lanczos -resize 39x39 \) -geometry +3+3 -composite \
    -font "$FONTB" -pointsize 24 -fill '#0b3f8c' -annotate +50+31 'Vornik V1.5' \
    -fill '#9ab8e0' -draw "rectangle $lx,8 $((lx+1)),38" \
    -font "$FONT" -pointsize 12 -fill '#34506f' \
    -annotate +$((lx+10))+20 "$tl1" -annotate +$((lx+10))+36 "$tl2" \
    "${PNGOPT[@]}" PNG32:otchet/logo.png

echo "assets written to $HERE"
