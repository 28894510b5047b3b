#!/usr/bin/env bash
# Makes a demo station in FOLDER: 48 generated tracks in music/ ("Artist - Song.mp3",
# Latin and Greek names), five lists in pro1/ (one a CD list), a week of day files in
# days1/ with a program in every half hour, three short spots (also in music/) scheduled
# in spots1/ at every quarter hour of the week, a list of five short stings that the
# jingle wall's first bank "J0" is set to (spots1/jingles), and in hour1/ the spoken
# fragments of the hour announcement, in Greek, so that "Hour" speaks.
#
# Running it again on a finished demo station changes nothing (if the folder was moved,
# the paths in its lists and spot files follow it). A half-made one, left by an
# interrupted run, is completed. A folder that holds anything else is refused.
#
# Needs ffmpeg with the LAME MP3 encoder and the speech synthesizer espeak-ng
# (scripts/install-deps.sh installs both).
set -euo pipefail

usage="Usage: $(basename "$0") FOLDER"
fail() {
  echo "make-demo-station: $*" >&2
  exit 1
}

[ $# -eq 1 ] || fail "$usage"
case "$1" in -h | --help) echo "$usage"; exit 0 ;; esac

marker_name=".stavox-demo"
mkdir -p -- "$1" || fail "cannot create the folder $1"
folder="$(cd -- "$1" && pwd -P)"
marker="$folder/$marker_name"

# --- Is there anything to do? -------------------------------------------------------------
if [ -f "$marker" ] && [ "$(sed -n 1p "$marker")" = "complete" ]; then
  made_in="$(sed -n 2p "$marker")"
  if [ "$made_in" = "$folder" ]; then
    exit 0
  fi
  # The folder was moved or copied: its lists still name the tracks at the old place.
  # Only that leading folder is replaced, so list edits made in the mixer are kept.
  for list in "$folder"/pro1/* "$folder"/spots1/*; do
    [ -f "$list" ] || continue
    tmp="$folder/pro1/.moving"
    awk -v old="$made_in/music/" -v new="$folder/music/" \
      'index($0, old) == 1 { $0 = new substr($0, length(old) + 1) } { print }' \
      "$list" >"$tmp" && mv -f -- "$tmp" "$list" ||
      fail "The list $list could not be moved with the station; it still names $made_in."
  done
  { printf 'complete\n%s\n' "$folder" >"$marker.tmp" && mv -f -- "$marker.tmp" "$marker"; } ||
    fail "The station's marker $marker could not be written."
  echo "Demo station moved from $made_in: its lists now point into $folder/music." >&2
  exit 0
fi
if [ ! -f "$marker" ] && [ -n "$(ls -A -- "$folder")" ]; then
  fail "$folder already holds files and is not a demo station made by this script;" \
    "give a new or empty folder."
fi

command -v ffmpeg >/dev/null 2>&1 ||
  fail "ffmpeg is not installed (run scripts/install-deps.sh, or apt-get install ffmpeg)."
ffmpeg -hide_banner -encoders 2>/dev/null | grep libmp3lame >/dev/null ||
  fail "this ffmpeg has no MP3 encoder (libmp3lame); install Debian's ffmpeg package."

echo building >"$marker"
mkdir -p "$folder/music" "$folder/pro1" "$folder/days1" "$folder/hour1" "$folder/spots1"
music="$folder/music"
# Whatever an interrupted run was writing; finished files are only ever moved in whole.
rm -f -- "$music"/.part-* "$folder"/pro1/.part-* "$folder"/days1/.part-* "$folder"/spots1/.part-* \
  "$folder"/hour1/.part-*

# --- The tracks ----------------------------------------------------------------------------
# seconds|lists|artist|song. Lists: G Greek and I International split the tracks by
# language, H Hits and B Ballads by mood, and C CD_Harbour Lights is one album. Lists
# that a program names together share no track, so no song comes twice in a program.
# F marks the tracks that open the lists. Tracks run 70 to 150 s: with the default 20 s
# crossfade each list alone holds more than half an hour of music, and two lists
# together more than an hour.
tracks="$(
  cat <<'EOF'
70|GB|Ελένη Μαυρίδου|Καλοκαίρι
107|GB|Ελένη Μαυρίδου|Στο λιμάνι
144|GHF|Ελένη Μαυρίδου|Αύγουστος
100|GBF|Νίκος Αλεξίου|Ξημέρωμα
137|GH|Νίκος Αλεξίου|Θάλασσα μου
93|GH|Νίκος Αλεξίου|Δρόμοι
130|GH|Οι Γλάροι|Μελτέμι
86|GB|Οι Γλάροι|Ανεμόμυλοι
123|GHF|Οι Γλάροι|Πανσέληνος
79|GB|Μαρία Κωστοπούλου|Βροχή του Νοέμβρη
116|GBF|Μαρία Κωστοπούλου|Γειτονιά
72|GB|Μαρία Κωστοπούλου|Φεγγάρι
109|GH|Ορχήστρα Αιγαίου|Συρτός της αυγής
146|GH|Ορχήστρα Αιγαίου|Ταξίμι
102|GHF|Ορχήστρα Αιγαίου|Νησιώτικο
139|GH|Γιάννης Θεοδώρου|Παλιό ραδιόφωνο
95|GB|Γιάννης Θεοδώρου|Ταξίδι
132|GH|Γιάννης Θεοδώρου|Νύχτα στην Πλάκα
88|GB|Σοφία Ραφαηλίδου|Κυριακή πρωί
125|GBF|Σοφία Ραφαηλίδου|Λεμονιά
81|GH|Σοφία Ραφαηλίδου|Σταθμός Λαρίσης
118|GB|Τα Κύματα|Πέτρινο σπίτι
74|GH|Τα Κύματα|Ανοιξιάτικο
111|GB|Τα Κύματα|Τελευταίο λεωφορείο
148|IBC|The Harbour Lights|Evening Tide
104|IBC|The Harbour Lights|Lighthouse
141|IBC|The Harbour Lights|Salt and Rope
97|IH|Anna Lindqvist|Paper Boats
134|IHF|Anna Lindqvist|Northern Line
90|IH|Anna Lindqvist|Quiet Hours
127|IH|Blue Meridian|Morning Coffee
83|IBF|Blue Meridian|Highway Nine
120|IH|Blue Meridian|Slow Waltz
76|IB|Carlos Ferreira|Sol de Inverno
113|IHF|Carlos Ferreira|Café Lisboa
150|IB|Carlos Ferreira|Saudade
106|IH|The Copper Kettles|Rainy Tuesday
143|IBF|The Copper Kettles|Postcards
99|IH|The Copper Kettles|Kitchen Radio
136|IB|Mira Okafor|Amber Hour
92|IHF|Mira Okafor|Open Window
129|IB|Mira Okafor|Long Way Home
85|IH|Jonas Berg|Snowfall
122|IB|Jonas Berg|Tram Line
78|IH|Jonas Berg|Birch Road
115|IBF|Lucía Romero|Noche Clara
71|IH|Lucía Romero|El Puerto
108|IB|Lucía Romero|Las Olas
EOF
)"

# A track is a looped phrase: a plucked arpeggio over a soft chord pad, four chords of
# four notes. Key, tempo, mode, progression, pattern and timbre change from track to
# track, so a listener hears each change of track. Only one loop is computed; ffmpeg
# repeats it, which keeps generation quick.
make_track() {
  local i="$1" seconds="$2" out="$3" artist="$4" song="$5"
  # Roots a fourth apart from G3 (Hz); four tempos (notes a second) and the loop of
  # sixteen notes each gives, in samples at 11025 Hz: the tones stay far below its
  # Nyquist limit, and computing a quarter of the samples keeps generation quick.
  local roots=(196.00 261.63 349.23 233.08 311.13 207.65 277.19 370.00 246.94 329.63 220.00 293.67)
  local rates=(2 2.5 3 4 3 2.5) loops=(88200 70560 58800 44100 58800 70560)
  local brights=(0.00 0.06 0.12 0.18 0.24)
  local f0=${roots[i % 12]} rate=${rates[i % 6]} loop_samples=${loops[i % 6]} bright=${brights[i % 5]}
  local r0 r1 r2 r3 t0 t1 t2 t3
  case $((i % 4)) in
    0) read -r r0 r1 r2 r3 t0 t1 t2 t3 <<<"0 7 9 5 4 4 3 4" ;;   # I V vi IV
    1) read -r r0 r1 r2 r3 t0 t1 t2 t3 <<<"0 8 3 10 3 4 4 4" ;;  # i VI III VII
    2) read -r r0 r1 r2 r3 t0 t1 t2 t3 <<<"0 5 7 5 4 4 4 4" ;;   # I IV V IV
    3) read -r r0 r1 r2 r3 t0 t1 t2 t3 <<<"0 5 3 7 3 3 4 4" ;;   # i iv III V
  esac
  local pattern
  if ((i % 3 == 0)); then
    pattern="eq(ld(2),1)*ld(5)+eq(ld(2),2)*7+eq(ld(2),3)*12"
  elif ((i % 3 == 1)); then
    pattern="eq(ld(2),0)*12+eq(ld(2),1)*7+eq(ld(2),2)*ld(5)"
  else
    pattern="eq(ld(2),1)*7+eq(ld(2),2)*(ld(5)+12)+eq(ld(2),3)*7"
  fi
  # ld(0) note number, ld(1) place in the note, ld(2) note of the chord, ld(3) chord,
  # ld(4) chord root, ld(5) its third, ld(6) the note above the root, ld(7) place in the
  # chord, ld(8) the note's frequency.
  local expr="st(0,floor(t*$rate));st(1,t*$rate-ld(0));st(2,mod(ld(0),4));st(3,mod(floor(ld(0)/4),4));"
  expr+="st(4,$r0*eq(ld(3),0)+$r1*eq(ld(3),1)+$r2*eq(ld(3),2)+$r3*eq(ld(3),3));"
  expr+="st(5,$t0*eq(ld(3),0)+$t1*eq(ld(3),1)+$t2*eq(ld(3),2)+$t3*eq(ld(3),3));"
  expr+="st(6,$pattern);st(7,(ld(2)+ld(1))/4);st(8,$f0*pow(2,(ld(4)+ld(6))/12));"
  expr+="(0.45*sin(2*PI*ld(8)*t)+$bright*sin(4*PI*ld(8)*t))*exp(-3*ld(1))*(1-ld(1))*(1-exp(-120*ld(1)))"
  expr+="+0.15*sin(PI*ld(7))*(sin(PI*$f0*pow(2,ld(4)/12)*t)+0.7*sin(PI*$f0*pow(2,(ld(4)+ld(5))/12)*t)"
  expr+="+0.6*sin(PI*$f0*pow(2,(ld(4)+7)/12)*t))"
  local fade_out=$((seconds - 4))
  ffmpeg -nostdin -hide_banner -loglevel error -y \
    -f lavfi -i "aevalsrc=exprs='$expr':s=11025:n=1024:d=$((loop_samples / 11025 + 1))" \
    -af "aloop=loop=-1:size=$loop_samples,atrim=duration=$seconds,afade=t=in:d=1.5,afade=t=out:st=$fade_out:d=4" \
    -ac 1 -ar 44100 -c:a libmp3lame -b:a 128k -compression_level 7 \
    -metadata artist="$artist" -metadata title="$song" -metadata album="Stavox demo" \
    -f mp3 "$out"
}

echo "Making the demo station in $folder ..." >&2
jobs_max="$(nproc 2>/dev/null || echo 2)"
failed="$music/.part-failed"
running=0
i=0
made=0
while IFS='|' read -r seconds lists artist song; do
  name="$artist - $song.mp3"
  if [ ! -s "$music/$name" ]; then
    if ((running >= jobs_max)); then
      wait -n || true
      running=$((running - 1))
    fi
    [ -f "$failed" ] && break
    (
      part="$music/.part-$i.mp3"
      if make_track "$i" "$seconds" "$part" "$artist" "$song" 2>"$music/.part-$i.log" && [ -s "$part" ]; then
        mv -f -- "$part" "$music/$name"
        rm -f -- "$music/.part-$i.log"
      else
        {
          echo "ffmpeg failed to make \"$name\":"
          tail -n 5 "$music/.part-$i.log"
        } >>"$failed"
        exit 1
      fi
    ) &
    running=$((running + 1))
    made=$((made + 1))
  fi
  i=$((i + 1))
done <<<"$tracks"
wait || true
if [ -f "$failed" ]; then
  cat "$failed" >&2
  rm -f -- "$music"/.part-*
  fail "could not make the tracks; $folder is left half-made, run this again to complete it."
fi

# --- The lists -----------------------------------------------------------------------------
# Lists and day files are text with CR LF after every line, written beside their place
# and moved in whole. One that already exists is kept: the operator may have edited it.
write_crlf() {
  local target="$1"
  shift
  local tmp
  tmp="$(dirname -- "$target")/.part-$(basename -- "$target")"
  printf '%s\r\n' "$@" >"$tmp"
  mv -f -- "$tmp" "$target"
}

# With random play off every load of a program starts its lists from the top. Each list
# opens with its F tracks and takes the rest later, so the songs that end one program
# never open the next; within those two parts each list steps through the table by 7
# from an offset of its own, so lists open with different songs and an artist's songs
# do not run back to back. The CD list keeps its album order.
declare -A list_names=([G]="Greek" [I]="International" [H]="Hits" [B]="Ballads" [C]="CD_Harbour Lights")
declare -A list_offsets=([G]=11 [I]=1 [H]=34 [B]=27 [C]=-1)
track_count="$(wc -l <<<"$tracks")"
for letter in G I H B C; do
  target="$folder/pro1/${list_names[$letter]}"
  [ -e "$target" ] && continue
  offset=${list_offsets[$letter]}
  by_place=()
  index=0
  while IFS='|' read -r seconds lists artist song; do
    if [[ "$lists" == *"$letter"* ]]; then
      place=$index
      if ((offset >= 0)); then
        place=$(((index * 7 + offset) % track_count))
        [[ "$lists" == *F* ]] || place=$((place + track_count))
      fi
      by_place[place]="$music/$artist - $song.mp3"
    fi
    index=$((index + 1))
  done <<<"$tracks"
  write_crlf "$target" "${by_place[@]}"
done

# --- The week ------------------------------------------------------------------------------
# One cycle of programs (value and length in half hours) runs through every day, each
# weekday starting it at another place. Programs that follow each other share no list,
# so each half hour opens with other songs; a program longer than one half hour goes on
# in "###SAME###" slots.
cycle=(
  "Hits|1"
  "Greek|International||2"
  "Ballads|1"
  "Hits|CD_Harbour Lights||1"
  "Greek|1"
  "Hits|Ballads||2"
  "International|1"
)

day_slots() {
  local weekday="$1" filled=0 k s
  k=$((weekday * 3 % ${#cycle[@]}))
  while ((filled < 48)); do
    local program="${cycle[k]}"
    local value="${program%|*}" length="${program##*|}"
    ((filled + length <= 48)) || length=$((48 - filled))
    echo "$value"
    for ((s = 1; s < length; s++)); do echo "###SAME###"; done
    filled=$((filled + length))
    k=$(((k + 1) % ${#cycle[@]}))
  done
}

for weekday in 0 1 2 3 4 5 6; do
  target="$folder/days1/$weekday"
  [ -e "$target" ] && continue
  mapfile -t slots < <(day_slots "$weekday")
  [ ${#slots[@]} -eq 48 ] || fail "internal error: day $weekday has ${#slots[@]} slots"
  write_crlf "$target" "${slots[@]}"
done

# --- The spots -----------------------------------------------------------------------------
# seconds|artist|song, numbered after the tracks so that they sound apart from them.
spot_tracks=(
  "12|Stavox FM|Station ID"
  "20|Harbour Bakery|Fresh Bread"
  "25|Café Meridian|Morning Offer"
)
spot_paths=()
for n in "${!spot_tracks[@]}"; do
  IFS='|' read -r seconds artist song <<<"${spot_tracks[n]}"
  name="$artist - $song.mp3"
  spot_paths+=("$music/$name")
  [ -s "$music/$name" ] && continue
  part="$music/.part-spot-$n.mp3"
  make_track "$((track_count + n))" "$seconds" "$part" "$artist" "$song" 2>"$part.log" &&
    [ -s "$part" ] || {
    tail -n 5 "$part.log" >&2
    fail "ffmpeg failed to make \"$name\"; $folder is left half-made, run this again to complete it."
  }
  mv -f -- "$part" "$music/$name"
  rm -f -- "$part.log"
done

# Every hour has spots at each quarter: the station's name on the hour, advertisers after.
declare -A quarter_spots=([0]="0" [1]="1 2" [2]="0 1" [3]="2 0 1")
for weekday in 0 1 2 3 4 5 6; do
  for quarter in 0 1 2 3; do
    target="$folder/spots1/$weekday-$quarter"
    [ -e "$target" ] && continue
    lines=()
    for hour in $(seq 0 23); do
      slot=()
      for n in ${quarter_spots[$quarter]}; do slot+=("${spot_paths[n]}"); done
      while ((${#slot[@]} < 10)); do slot+=("###NULL###"); done
      lines+=("${slot[@]}")
    done
    write_crlf "$target" "${lines[@]}"
  done
done

# --- The hour announcement ----------------------------------------------------------------
# name|words: the station's recordings of "the hour is", the hours (feminine, as the hour
# is), "and" and the minutes (neuter); 13 to 19 minutes are said as ten and a unit. Each
# is spoken by espeak-ng's Greek voice and encoded to MP3; a few seconds for all of them.
command -v espeak-ng >/dev/null 2>&1 ||
  fail "espeak-ng is not installed (run scripts/install-deps.sh, or apt-get install espeak-ng);" \
    "$folder is left half-made, run this again to complete it."
fragments="$(
  cat <<'EOF'
TheHourIs|Η ώρα είναι
kai|και
h1|μία
h2|δύο
h3|τρεις
h4|τέσσερις
h5|πέντε
h6|έξι
h7|επτά
h8|οκτώ
h9|εννέα
h10|δέκα
h11|έντεκα
h12|δώδεκα
m1|ένα
m2|δύο
m3|τρία
m4|τέσσερα
m5|πέντε
m6|έξι
m7|επτά
m8|οκτώ
m9|εννέα
m10|δέκα
m11|έντεκα
m12|δώδεκα
m20|είκοσι
m30|τριάντα
m40|σαράντα
m50|πενήντα
EOF
)"
while IFS='|' read -r name words; do
  target="$folder/hour1/$name.mp3"
  [ -s "$target" ] && continue
  part="$folder/hour1/.part-$name.mp3"
  { espeak-ng -v el -s 150 --stdout "$words" |
    ffmpeg -nostdin -hide_banner -loglevel error -y -f wav -i - \
      -ac 1 -ar 44100 -c:a libmp3lame -b:a 64k -f mp3 "$part"; } 2>"$part.log" &&
    [ -s "$part" ] || {
    tail -n 5 "$part.log" >&2
    fail "could not speak the hour fragment $name; $folder is left half-made, run this again to complete it."
  }
  mv -f -- "$part" "$target"
  rm -f -- "$part.log"
done <<<"$fragments"

# --- The jingles ----------------------------------------------------------------------------
# A sting is a short chime: a rising run of plucked notes over one chord, each sting in
# another key and pace, so that the wall's buttons sound apart.
make_sting() {
  local n="$1" seconds="$2" out="$3" title="$4"
  local roots=(392.00 440.00 329.63 493.88 349.23) rates=(6 8 5 7 6)
  local f0=${roots[n % 5]} rate=${rates[n % 5]}
  local expr="st(0,floor(t*$rate));st(1,t*$rate-ld(0));st(2,mod(ld(0),4));"
  expr+="st(3,4*eq(ld(2),1)+7*eq(ld(2),2)+12*eq(ld(2),3));"
  expr+="0.5*sin(2*PI*$f0*pow(2,ld(3)/12)*t)*exp(-4*ld(1))*(1-exp(-150*ld(1)))"
  expr+="+0.12*(sin(PI*$f0*t)+sin(PI*$f0*pow(2,7/12)*t))"
  ffmpeg -nostdin -hide_banner -loglevel error -y \
    -f lavfi -i "aevalsrc=exprs='$expr':s=22050:d=$seconds" \
    -af "afade=t=in:d=0.05,afade=t=out:st=$(awk -v s="$seconds" 'BEGIN { print s - 0.8 }'):d=0.8" \
    -ac 1 -ar 44100 -c:a libmp3lame -b:a 128k \
    -metadata artist="Stavox FM" -metadata title="$title" -metadata album="Stavox demo" \
    -f mp3 "$out"
}

sting_titles=("Hello|4" "News|3" "Weather|3" "Traffic|3" "On Air|5")
sting_paths=()
for n in "${!sting_titles[@]}"; do
  IFS='|' read -r title seconds <<<"${sting_titles[n]}"
  name="Sting - $title.mp3"
  sting_paths+=("$music/$name")
  [ -s "$music/$name" ] && continue
  part="$music/.part-sting-$n.mp3"
  make_sting "$n" "$seconds" "$part" "$title" 2>"$part.log" && [ -s "$part" ] || {
    tail -n 5 "$part.log" >&2
    fail "ffmpeg failed to make \"$name\"; $folder is left half-made, run this again to complete it."
  }
  mv -f -- "$part" "$music/$name"
  rm -f -- "$part.log"
done
[ -e "$folder/pro1/Stings" ] || write_crlf "$folder/pro1/Stings" "${sting_paths[@]}"
# The banks: the first tab plays the stings, the other ten keep their own names.
[ -e "$folder/spots1/jingles" ] || write_crlf "$folder/spots1/jingles" Stings J{1..10}

printf 'complete\n%s\n' "$folder" >"$marker.tmp" && mv -f -- "$marker.tmp" "$marker"
echo "Demo station ready in $folder ($made tracks made)." >&2
