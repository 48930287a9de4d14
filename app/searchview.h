// CSearchView: the main frame's empty view. Its only job is to place the main window.
#pragma once

#include "framework/view.h"

class CSearchView : public CView {
public:
    void OnInitialUpdate() override;
    void OnDraw(HDC dc) override;
};
