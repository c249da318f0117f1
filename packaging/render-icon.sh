#!/bin/sh
# Renders the 256 px icon from the SVG (needs rsvg-convert, Debian package librsvg2-bin).
set -eu
cd "$(dirname "$0")"
rsvg-convert -w 256 -h 256 moduletool.svg -o moduletool.png
