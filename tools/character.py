"""Miora, drawn as SVG: the stage picture, her faces, the About box picture and the icon.

Every picture comes from one drawing, so that the faces match the stage picture pixel for pixel
outside the eyes, mouth, tears and blush. The picture is 158 x 452; she holds the dial whose box
is (80, 256, 128 x 128) and her head fills the face frame (15, 9, 128 x 128).
"""

WIDTH, HEIGHT = 158, 452
FACE_FRAME = (15, 9, 128, 128)
EXPRESSIONS = ('normal', 'laughing', 'neartears', 'crying')

OUTLINE = '#4a2a1c'
HAIR, HAIR_SHADE, HAIR_LIGHT = '#a6643b', '#80472a', '#cf9565'
SKIN, SKIN_SHADE = '#fde6d6', '#f4c6ad'
RIBBON, RIBBON_SHADE = '#f9cfda', '#eaa6bc'
NAVY, NAVY_SHADE, NAVY_LINE = '#33437a', '#242f58', '#1a2142'
COLLAR, COLLAR_SHADE = '#40528f', '#30407a'
OFF_WHITE, OFF_WHITE_SHADE = '#fafafc', '#dcdeea'
RED, RED_SHADE = '#d9423d', '#a72d2a'
SHOE, SHOE_SHADE, SHOE_LIGHT = '#8d5632', '#683a1f', '#b07a52'
IRIS, IRIS_SHADE, PUPIL = '#92562f', '#5c311b', '#361b10'
MOUTH, MOUTH_INSIDE, TONGUE = '#86372a', '#b2474a', '#ee8a8a'
BLUSH = '#f49c9c'
TEAR, TEAR_LINE = '#c4e6f8', '#5f9fcb'

MIRROR = 'matrix(-1 0 0 1 158 0)'


def stroke(colour, width):
    return (f'fill="none" stroke="{colour}" stroke-width="{width}" '
            'stroke-linecap="round" stroke-linejoin="round"')


def shape(path, fill, line=OUTLINE, width=1.6, extra=''):
    return (f'<path d="{path}" fill="{fill}" stroke="{line}" stroke-width="{width}" '
            f'stroke-linejoin="round" {extra}/>')


def tube(path, fill, width, line=OUTLINE, outline=1.5):
    """A limb: the path drawn thick in the outline colour, then a little thinner in its fill."""
    return (f'<path d="{path}" {stroke(line, width + 2 * outline)}/>'
            f'<path d="{path}" {stroke(fill, width)}/>')


def both_sides(parts):
    return f'{parts}<g transform="{MIRROR}">{parts}</g>'


# --- back: long hair, legs and shoes ---------------------------------------------------------

def back_hair():
    outer = ('M 30 64 C 14 104 14 170 22 232 L 27 246 L 34 236 L 40 250 L 47 238 L 50 200 '
             'L 108 200 L 111 238 L 118 250 L 124 236 L 131 246 L 136 232 '
             'C 144 170 144 104 128 64 Z')
    shade = ('M 40 110 C 34 150 34 200 40 238 L 40 250 L 47 238 L 50 200 L 50 110 Z '
             'M 118 110 C 124 150 124 200 118 238 L 118 250 L 111 238 L 108 200 L 108 110 Z')
    strands = ('M 27 140 C 25 180 27 210 31 236 M 131 140 C 133 180 131 210 127 236 '
               'M 34 170 C 33 196 34 216 36 240 M 124 170 C 125 196 124 216 122 240')
    return (shape(outer, HAIR, width=2) + f'<path d="{shade}" fill="{HAIR_SHADE}"/>' +
            f'<path d="{strands}" {stroke(HAIR_SHADE, 1.4)}/>')


def legs():
    leg = 'M 64 318 L 64.5 438'
    sock = 'M 64.3 352 L 64.5 438'
    one = (tube(leg, SKIN, 14) + tube(sock, OFF_WHITE, 14.6) +
           f'<path d="M 57.6 356 L 71.4 356" {stroke(OFF_WHITE_SHADE, 1.4)}/>'
           f'<path d="M 68.6 360 L 68.8 430" {stroke(OFF_WHITE_SHADE, 2.6)}/>')
    # Toes turned a little outward, leaving a gap between the shoes down to the ground.
    shoe = ('M 50 452 L 50 445 C 50 437 56 432 63.5 432 C 70 432 75.5 437 75.5 445 L 75.5 452 Z')
    shoe_parts = (shape(shoe, SHOE, width=1.8) +
                  f'<path d="M 51 447 L 74.5 447 L 74.5 451.5 L 51 451.5 Z" fill="{SHOE_SHADE}"/>'
                  f'<path d="M 57 436.5 C 60.5 434.5 67 434.5 70.5 436.5" {stroke(SHOE_SHADE, 2.2)}/>'
                  f'<ellipse cx="57" cy="441" rx="2.6" ry="1.6" fill="{SHOE_LIGHT}"/>')
    return both_sides(one + shoe_parts)


# --- dress ------------------------------------------------------------------------------------

def skirt():
    body = ('M 52 220 L 106 220 C 114 252 122 284 131 316 Q 79 330 27 316 '
            'C 36 284 44 252 52 220 Z')
    frill = ('M 29 313 Q 79 327 129 313 L 130 319 Q 126 325 121 321 Q 116 327 111 322 '
             'Q 106 328 100 323 Q 94 329 88 324 Q 82 330 76 324 Q 70 329 64 323 '
             'Q 58 328 53 322 Q 48 327 43 321 Q 37 326 32 320 Q 28 322 28 318 Z')
    shade = 'M 92 222 L 106 220 C 114 252 122 284 131 316 Q 116 321 100 324 Z'
    pleats = ('M 62 226 L 50 318 M 79 226 L 79 326 M 96 226 L 108 320 '
              'M 70 226 L 64 322 M 88 226 L 94 324')
    return (shape(frill, OFF_WHITE, width=1.5) + shape(body, NAVY, width=2) +
            f'<path d="{shade}" fill="{NAVY_SHADE}"/>' +
            f'<path d="{pleats}" {stroke(NAVY_LINE, 1.1)}/>' +
            f'<path d="{body}" fill="none" stroke="{OUTLINE}" stroke-width="2"/>')


def apron():
    outline = ('M 55 226 L 103 226 C 106 250 108 272 110 292 '
               'Q 106 300 100 297 Q 95 304 89 299 Q 84 305 79 300 Q 74 305 69 299 '
               'Q 63 304 58 297 Q 52 300 48 292 C 50 272 52 250 55 226 Z')
    shade = ('M 94 226 L 103 226 C 106 250 108 272 110 292 Q 106 300 100 297 '
             'Q 98 270 94 226 Z')
    band = 'M 50 219 L 108 219 L 108 229 L 50 229 Z'
    return (shape(outline, OFF_WHITE) + f'<path d="{shade}" fill="{OFF_WHITE_SHADE}"/>' +
            f'<path d="{outline}" fill="none" stroke="{OUTLINE}" stroke-width="1.6"/>' +
            shape(band, OFF_WHITE, width=1.6) +
            f'<path d="M 96 220 L 107 220 L 107 228 L 96 228 Z" fill="{OFF_WHITE_SHADE}"/>')


def torso():
    body = ('M 52 146 C 45 149 42 154 42 162 C 44 184 48 204 51 222 L 107 222 '
            'C 110 204 114 184 116 162 C 116 154 113 149 106 146 Z')
    shade = 'M 98 150 L 106 146 C 113 149 116 154 116 162 C 114 184 110 204 107 222 L 96 222 Z'
    return shape(body, NAVY, width=2) + f'<path d="{shade}" fill="{NAVY_SHADE}"/>'


def collar():
    blouse = 'M 66 140 L 92 140 L 79 176 Z'
    flap = ('M 35 170 C 36 154 48 145 67 141 L 79 174 L 91 141 C 110 145 122 154 123 170 '
            'L 79 199 Z')
    stripe = 'M 41 167 L 79 192 L 117 167'
    knot = 'M 73 185 L 85 185 L 86.5 194 L 71.5 194 Z'
    tail_left = 'M 74 193 L 65 222 L 72 226 L 78 196 Z'
    tail_right = 'M 84 193 L 94 221 L 87 225 L 80 196 Z'
    return (shape(blouse, OFF_WHITE, width=1.4) + shape(flap, COLLAR, width=1.8) +
            f'<path d="M 96 142 C 111 146 122 154 123 170 L 104 183 Z" fill="{COLLAR_SHADE}"/>' +
            f'<path d="{flap}" fill="none" stroke="{OUTLINE}" stroke-width="1.8" '
            'stroke-linejoin="round"/>' +
            f'<path d="{stripe}" {stroke(OFF_WHITE, 2.2)}/>' +
            shape(tail_left, RED, width=1.4) + shape(tail_right, RED_SHADE, width=1.4) +
            shape(knot, RED, width=1.5) +
            f'<path d="M 80 186 L 85 186 L 86 193 L 80 193 Z" fill="{RED_SHADE}"/>')


def arms():
    near_left = 'M 45 160 L 36 214 L 66 278'
    near_right = 'M 113 160 L 125 222 L 117 372'
    left_cuff = 'M 60.5 266 L 65 275.5'
    right_cuff = 'M 117.6 360 L 117.1 370'
    left_hand = ('M 62 274 C 66 268 76 268 80 272 L 82 280 C 83 288 80 296 73 296 '
                 'C 66 296 61 288 62 274 Z')
    left_thumb = 'M 72 270 C 76 264 83 265 84 270 C 83 273 78 274 75 274 Z'
    right_hand = ('M 105 384 C 104 378 110 374 117 374 C 125 374 130 378 130 384 '
                  'C 130 392 124 397 117 397 C 110 397 105 392 105 384 Z')
    fingers = 'M 110 389 L 115 390 M 110 385 L 116 386'
    return (tube(near_right, NAVY, 15) + tube(right_cuff, OFF_WHITE, 15.5) +
            shape(right_hand, SKIN, width=1.5) +
            f'<path d="{fingers}" {stroke(SKIN_SHADE, 1.2)}/>' +
            tube(near_left, NAVY, 15) + tube(left_cuff, OFF_WHITE, 15.5) +
            shape(left_hand, SKIN, width=1.5) + shape(left_thumb, SKIN, width=1.3) +
            f'<path d="M 64 284 C 66 290 70 293 74 293" {stroke(SKIN_SHADE, 1.4)}/>')


# --- head --------------------------------------------------------------------------------------

def neck():
    return (shape('M 70 118 L 88 118 L 89 146 Q 79 150 69 146 Z', SKIN, width=1.4) +
            f'<path d="M 70 124 Q 79 136 88 124 L 88.6 134 Q 79 142 69.4 134 Z" '
            f'fill="{SKIN_SHADE}"/>')


def head_back():
    return shape('M 79 12 C 112 12 138 36 138 70 C 138 86 134 98 128 104 L 30 104 '
                 'C 24 98 20 86 20 70 C 20 36 46 12 79 12 Z', HAIR, width=2)


def face_skin():
    skin = 'M 32 70 C 31 100 50 126 79 128 C 108 126 127 100 126 70 Z'
    return shape(skin, SKIN, width=1.8)


def side_locks():
    lock = ('M 36 62 C 26 88 20 122 21 158 L 26 151 L 30 162 L 34 150 '
            'C 38 126 42 100 42 78 Z')
    shade = 'M 38 80 C 34 104 31 130 30 150 L 34 150 C 38 126 42 100 42 78 Z'
    strand = 'M 31 84 C 27 108 25 132 25 150'
    return both_sides(shape(lock, HAIR, width=1.8) + f'<path d="{shade}" fill="{HAIR_SHADE}"/>' +
                      f'<path d="{strand}" {stroke(HAIR_SHADE, 1.2)}/>' +
                      f'<path d="{lock}" fill="none" stroke="{OUTLINE}" stroke-width="1.8" '
                      'stroke-linejoin="round"/>')


def bangs():
    edge = ('M 27 74 C 24 40 48 14 79 14 C 110 14 134 40 131 74 '
            'Q 127 84 125 96 Q 122 80 117 72 Q 115 80 110 84 Q 108 74 102 66 '
            'Q 98 76 92 81 Q 91 72 86 64 Q 83 78 79 88 Q 75 78 72 64 '
            'Q 67 72 66 81 Q 60 76 56 66 Q 50 74 48 84 Q 43 80 41 72 '
            'Q 36 80 33 96 Q 31 84 27 74 Z')
    # Shadow under the crown, its upper edge zigzagging along the strands.
    shade = ('M 41 72 Q 43 80 48 84 Q 50 74 56 66 Q 60 76 66 81 Q 67 72 72 64 Q 75 78 79 88 '
             'Q 83 78 86 64 Q 91 72 92 81 Q 98 76 102 66 Q 108 74 110 84 Q 115 80 117 72 '
             'L 118 60 L 112 64 L 108 52 L 102 60 L 96 50 L 90 58 L 84 48 L 79 56 L 74 48 '
             'L 68 58 L 62 50 L 56 60 L 50 52 L 46 64 L 40 60 Z')
    strands = ('M 56 66 Q 58 52 66 40 M 72 64 Q 72 50 76 38 M 86 64 Q 86 50 82 38 '
               'M 102 66 Q 100 52 92 40 M 41 72 Q 42 56 52 44 M 117 72 Q 116 56 106 44')
    return (shape(edge, HAIR, width=2) + f'<path d="{shade}" fill="{HAIR_SHADE}"/>' +
            f'<path d="{strands}" {stroke(HAIR_SHADE, 1.3)}/>' +
            f'<path d="{edge}" fill="none" stroke="{OUTLINE}" stroke-width="2" '
            'stroke-linejoin="round"/>')


def hair_light():
    band = ('M 38 40 Q 79 18 120 40 L 116 46 L 112 41 L 106 45 L 100 39 L 93 43 L 86 37 '
            'L 79 41 L 72 37 L 65 43 L 58 39 L 52 45 L 46 41 L 42 46 Z')
    return f'<path d="{band}" fill="{HAIR_LIGHT}"/>'


def ribbon():
    loop = ('M 77 20 C 66 4 48 -1 42 6 C 37 12 40 26 46 32 C 54 38 68 32 77 26 Z')
    loop_shade = 'M 77 26 C 68 32 54 38 46 32 C 44 29 43 26 43 24 C 54 28 66 26 77 21 Z'
    fold = 'M 50 12 C 56 16 64 20 72 22'
    tail = 'M 72 26 L 60 46 L 66 47 L 70 43 L 74 48 L 78 28 Z'
    knot = 'M 72 16 C 76 14 82 14 86 16 L 87 27 C 83 30 75 30 71 27 Z'
    loops = (shape(loop, RIBBON, width=1.8) + f'<path d="{loop_shade}" fill="{RIBBON_SHADE}"/>' +
             f'<path d="{loop}" fill="none" stroke="{OUTLINE}" stroke-width="1.8" '
             'stroke-linejoin="round"/>' + f'<path d="{fold}" {stroke(RIBBON_SHADE, 1.3)}/>')
    return (both_sides(shape(tail, RIBBON_SHADE, width=1.4)) + both_sides(loops) +
            shape(knot, RIBBON, width=1.7) +
            f'<path d="M 80 16 C 83 15 85 15.5 86 16 L 87 27 C 85 28 83 28.6 81 28.8 Z" '
            f'fill="{RIBBON_SHADE}"/>')


# --- expressions -------------------------------------------------------------------------------

EYE_LEFT, EYE_RIGHT, EYE_Y = 58, 100, 96


def open_eye(cx, outer):
    """A large open eye; outer is -1 when the eye's outer corner lies to the left."""
    cy = EYE_Y
    clip = f'eye{cx}'
    lash = (f'M {cx - 10 * outer} {cy - 8} Q {cx} {cy - 14} {cx + 10.5 * outer} {cy - 7.5} '
            f'L {cx + 12.5 * outer} {cy - 9.5}')
    return (f'<clipPath id="{clip}"><ellipse cx="{cx}" cy="{cy}" rx="9.6" ry="11.2"/></clipPath>'
            f'<ellipse cx="{cx}" cy="{cy}" rx="9.6" ry="11.2" fill="{OFF_WHITE}"/>'
            f'<g clip-path="url(#{clip})">'
            f'<ellipse cx="{cx}" cy="{cy + 1.2}" rx="7.6" ry="10.2" fill="{IRIS}"/>'
            f'<path d="M {cx - 9} {cy - 12} L {cx + 9} {cy - 12} L {cx + 9} {cy - 1.5} '
            f'Q {cx} {cy - 4.5} {cx - 9} {cy - 1.5} Z" fill="{IRIS_SHADE}"/>'
            f'<ellipse cx="{cx}" cy="{cy + 2}" rx="3.3" ry="4.8" fill="{PUPIL}"/>'
            '</g>'
            f'<circle cx="{cx - 3}" cy="{cy - 3.8}" r="2.9" fill="{OFF_WHITE}"/>'
            f'<circle cx="{cx + 3.4}" cy="{cy + 5.2}" r="1.3" fill="{OFF_WHITE}"/>'
            f'<path d="{lash}" {stroke(OUTLINE, 2.6)}/>'
            f'<path d="M {cx - 4.5} {cy + 11.6} Q {cx} {cy + 12.6} {cx + 4.5} {cy + 11.6}" '
            f'{stroke("#8a5540", 1.2)}/>')


def blush(strength):
    hatch = 'M 41 108 L 43 104 M 45 108.5 L 47 104.5 M 49 109 L 51 105'
    return both_sides(f'<ellipse cx="46" cy="108" rx="7.5" ry="3.6" fill="{BLUSH}" '
                      f'fill-opacity="{strength}"/>'
                      + (f'<path d="{hatch}" {stroke("#e98080", 1)}/>' if strength > 0.6 else ''))


def closed_arc_eyes(up):
    # up: the laughing arcs bulge upward; otherwise the lids droop.
    if up:
        left = 'M 49 99 Q 58 88 67 99'
    else:
        left = 'M 49 95 Q 58 102 67 95'
    return both_sides(f'<path d="{left}" {stroke(OUTLINE, 2.6)}/>')


def squeezed_eyes():
    left = 'M 50 89 L 65 96 L 50 102'
    return f'<path d="{left}" {stroke(OUTLINE, 2.6)}/>' + \
        f'<g transform="{MIRROR}"><path d="{left}" {stroke(OUTLINE, 2.6)}/></g>'


def tear_drop(x, y, size):
    return shape(f'M {x} {y - 2.2 * size} C {x + 1.6 * size} {y - 0.4 * size} '
                 f'{x + 1.5 * size} {y + 1.4 * size} {x} {y + 1.4 * size} '
                 f'C {x - 1.5 * size} {y + 1.4 * size} {x - 1.6 * size} {y - 0.4 * size} '
                 f'{x} {y - 2.2 * size} Z', TEAR, line=TEAR_LINE, width=1)


def streams():
    left = ('M 47 99 C 44 106 43 114 44 124 L 50 124 C 50 114 50 106 52 100 Z')
    return both_sides(shape(left, TEAR, line=TEAR_LINE, width=1.1))


def expression(kind):
    if kind == 'normal':
        return (open_eye(EYE_LEFT, -1) + open_eye(EYE_RIGHT, 1) +
                blush(0.55) +
                f'<path d="M 74 114 Q 79 118.5 84 114" {stroke(MOUTH, 1.6)}/>')
    if kind == 'laughing':
        mouth = 'M 70 111 Q 79 113 88 111 Q 87 124 79 124 Q 71 124 70 111 Z'
        tongue = 'M 73.5 119.5 Q 79 116 84.5 119.5 Q 82 123 79 123 Q 76 123 73.5 119.5 Z'
        return (closed_arc_eyes(True) + blush(0.75) +
                shape(mouth, MOUTH_INSIDE, line=MOUTH, width=1.6) +
                f'<path d="{tongue}" fill="{TONGUE}"/>')
    if kind == 'neartears':
        mouth = 'M 73 116 Q 75.5 114 78 116 Q 80.5 118 83 116 Q 84.5 115 85.5 115.5'
        return (closed_arc_eyes(False) + blush(0.6) +
                tear_drop(46, 101, 2.2) + tear_drop(112, 101, 2.2) +
                f'<path d="{mouth}" {stroke(MOUTH, 1.5)}/>')
    if kind == 'crying':
        mouth = 'M 70 118 Q 79 106 88 118 Q 86 126 79 126 Q 72 126 70 118 Z'
        tongue = 'M 73 122.5 Q 79 118.5 85 122.5 Q 82 125.5 79 125.5 Q 76 125.5 73 122.5 Z'
        return (blush(0.6) + streams() + squeezed_eyes() +
                shape(mouth, MOUTH_INSIDE, line=MOUTH, width=1.6) +
                f'<path d="{tongue}" fill="{TONGUE}"/>')
    raise ValueError(kind)


def drawing(kind='normal'):
    return ''.join([
        back_hair(), legs(), skirt(), apron(), torso(), arms(), collar(), neck(),
        head_back(), face_skin(), side_locks(), bangs(), hair_light(), ribbon(),
        f'<path d="M 78.6 106.5 L 79.6 107.2" {stroke("#dc9c84", 1.3)}/>',
        expression(kind),
    ])
