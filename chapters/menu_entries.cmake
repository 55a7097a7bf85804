# What the desktop's menu says about each viewer: its name in Japanese and
# English and, one line in each, what the chapter teaches. Its icon is the
# chapter folder's icon.svg.
viewer_menu_entry(alder
  NAME_JA "連分数と不完全ガンマ関数"
  NAME_EN "Continued Fractions"
  COMMENT_JA "不完全ガンマ関数を連分数で計算し、打ち切り誤差の振る舞いを描く"
  COMMENT_EN "Computing the incomplete gamma function by continued fractions, with the truncation error traced")
viewer_menu_entry(birch
  NAME_JA "ケプラー運動とベッセル関数"
  NAME_EN "Kepler Motion and Bessel Functions"
  COMMENT_JA "楕円軌道の運動をケプラー方程式とベッセル関数の級数で表す"
  COMMENT_EN "Motion on an elliptic orbit through Kepler's equation and series of Bessel functions")
viewer_menu_entry(cedar
  NAME_JA "熱力学の魔方陣"
  NAME_EN "Thermodynamic Magic Square"
  COMMENT_JA "熱力学ポテンシャルとマクスウェルの関係式をまとめる魔方陣を一段ずつ組み立てる"
  COMMENT_EN "Building, step by step, the square that sums up the thermodynamic potentials and Maxwell's relations")
viewer_menu_entry(hazel
  NAME_JA "チェビシェフ補間"
  NAME_EN "Chebyshev Interpolation"
  COMMENT_JA "指数関数のテイラー近似とチェビシェフ近似を比べ、誤差曲線を描く"
  COMMENT_EN "Taylor and Chebyshev approximations of the exponential function and their error curves")
viewer_menu_entry(larch
  NAME_JA "格子振動とベッセル関数"
  NAME_EN "Lattice Vibrations and Bessel Functions"
  COMMENT_JA "質点とばねが連なる一次元格子の振動をベッセル関数で解く"
  COMMENT_EN "Vibrations of a one-dimensional chain of masses and springs, solved with Bessel functions")
viewer_menu_entry(maple
  NAME_JA "フーリエ級数とギブス現象"
  NAME_EN "Fourier Series and the Gibbs Phenomenon"
  COMMENT_JA "方形波のフーリエ部分和が不連続点の近くで行き過ぎるギブス現象"
  COMMENT_EN "Why the Fourier partial sums of a square wave overshoot near its jumps")
viewer_menu_entry(rowan
  NAME_JA "高速フーリエ変換"
  NAME_EN "Fast Fourier Transform"
  COMMENT_JA "離散フーリエ変換と、それを速く計算するバタフライ演算の漸化式"
  COMMENT_EN "The discrete Fourier transform and the butterfly recurrence that computes it fast")
