// Everything the image control needs of the framework, in one include.
#pragma once

#include "Bitmap.h"
#include "BitmapCanvas.h"
#include "Canvas.h"
#include "Color.h"
#include "Exception.h"
#include "Font.h"
#include "Image.h"
#include "Metafile.h"
#include "MetafileCanvas.h"
#include "Picture.h"
#include "ShiftJis.h"
