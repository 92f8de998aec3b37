#pragma once
// One part on its way from the entry controls of a screen to the row that stores it. A plain
// value record: it checks, trims and converts nothing (the screens check before they fill it).
#include <array>
#include <cstdint>
#include <string>

namespace vx {

class cCLTPart {
public:
    // User fields 1..20 go to the columns UF_1..UF_20; index 0 exists but is never used.
    static constexpr int32_t kUserFieldBound = 20;

    // Index below 0 or above 20: the subscript-out-of-range error.
    const std::string& UserField(int32_t i) const;
    void SetUserField(int32_t i, const std::string& value);

    int32_t Quantity() const { return m_quantity; }
    void SetQuantity(int32_t v) { m_quantity = v; }
    const std::string& Material() const { return m_material; }
    void SetMaterial(const std::string& v) { m_material = v; }
    const std::string& Part() const { return m_part; }
    void SetPart(const std::string& v) { m_part = v; }
    double Thickness() const { return m_thickness; }
    void SetThickness(double v) { m_thickness = v; }
    double Width() const { return m_width; }
    void SetWidth(double v) { m_width = v; }
    double Length() const { return m_length; }
    void SetLength(double v) { m_length = v; }
    const std::string& Scribes() const { return m_scribes; }
    void SetScribes(const std::string& v) { m_scribes = v; }
    const std::string& SpaceBalls() const { return m_spaceBalls; }
    void SetSpaceBalls(const std::string& v) { m_spaceBalls = v; }
    bool Panel() const { return m_panel; }
    void SetPanel(bool v) { m_panel = v; }
    bool B_Grade() const { return m_bGrade; }
    void SetB_Grade(bool v) { m_bGrade = v; }
    bool PocketHoles() const { return m_pocketHoles; }
    void SetPocketHoles(bool v) { m_pocketHoles = v; }
    const std::string& FileName() const { return m_fileName; }
    void SetFileName(const std::string& v) { m_fileName = v; }
    int32_t Seq_Num() const { return m_seqNum; }
    void SetSeq_Num(int32_t v) { m_seqNum = v; }

private:
    int32_t m_quantity = 0;
    std::string m_material, m_part;
    double m_thickness = 0, m_width = 0, m_length = 0;
    int32_t m_seqNum = 0;
    std::string m_scribes, m_spaceBalls;
    bool m_panel = false, m_bGrade = false, m_pocketHoles = false;
    std::string m_fileName;
    std::array<std::string, kUserFieldBound + 1> m_userFields;
};

} // namespace vx
